#include "library_version.h"

#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <link.h>
#endif

namespace demo {
namespace {

#if defined(_WIN32)

constexpr uint32_t kFixedInfoSignature = 0xFEEF04BDu;

// VS_FIXEDFILEINFO follows the block's key at a 4-byte boundary; its
// signature marks it. File version: major.minor in the high word pair,
// patch.build in the low one.
std::string FixedFileVersion(const uint8_t* block, size_t size) {
    for (size_t at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO info;
        std::memcpy(&info, block + at, sizeof info);
        if (info.dwSignature == kFixedInfoSignature) {
            std::string text = std::to_string(HIWORD(info.dwFileVersionMS)) + "." +
                               std::to_string(LOWORD(info.dwFileVersionMS)) + "." +
                               std::to_string(HIWORD(info.dwFileVersionLS));
            if (LOWORD(info.dwFileVersionLS) != 0) {
                text += "." + std::to_string(LOWORD(info.dwFileVersionLS));
            }
            return text;
        }
    }
    return "";
}

std::string ResourceVersion(const void* address) {
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, static_cast<LPCSTR>(address), &module)) {
        return "";
    }
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16) /* RT_VERSION */);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* block = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (block == nullptr) {
        return "";
    }
    return FixedFileVersion(static_cast<const uint8_t*>(block), SizeofResource(module, resource));
}

#else

constexpr char kNoteOwner[] = "maskfit";
constexpr uint32_t kVersionNoteType = 1;

struct NoteSearch {
    uintptr_t address;
    std::string version;
};

size_t Aligned4(size_t size) { return (size + 3) & ~size_t{3}; }

bool Contains(const dl_phdr_info& object, uintptr_t address) {
    for (int k = 0; k < object.dlpi_phnum; ++k) {
        const ElfW(Phdr)& segment = object.dlpi_phdr[k];
        const uintptr_t start = object.dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && address >= start && address - start < segment.p_memsz) {
            return true;
        }
    }
    return false;
}

// Walks one PT_NOTE segment: header, owner and text, each padded to 4 bytes.
std::string VersionNoteIn(const uint8_t* notes, size_t size) {
    size_t at = 0;
    while (at + sizeof(ElfW(Nhdr)) <= size) {
        ElfW(Nhdr) header;
        std::memcpy(&header, notes + at, sizeof header);
        const size_t owner = at + sizeof header;
        const size_t text = owner + Aligned4(header.n_namesz);
        const size_t next = text + Aligned4(header.n_descsz);
        if (next > size) {
            break;
        }
        if (header.n_type == kVersionNoteType && header.n_namesz == sizeof kNoteOwner &&
            std::memcmp(notes + owner, kNoteOwner, sizeof kNoteOwner) == 0 && header.n_descsz > 0) {
            return std::string(reinterpret_cast<const char*>(notes + text), header.n_descsz - 1);
        }
        at = next;
    }
    return "";
}

int SearchObject(dl_phdr_info* object, size_t, void* data) {
    NoteSearch& search = *static_cast<NoteSearch*>(data);
    if (!Contains(*object, search.address)) {
        return 0;
    }
    for (int k = 0; k < object->dlpi_phnum && search.version.empty(); ++k) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[k];
        if (segment.p_type == PT_NOTE) {
            search.version = VersionNoteIn(reinterpret_cast<const uint8_t*>(object->dlpi_addr + segment.p_vaddr),
                                           segment.p_memsz);
        }
    }
    return 1;
}

std::string NoteVersion(const void* address) {
    NoteSearch search{reinterpret_cast<uintptr_t>(address), ""};
    dl_iterate_phdr(SearchObject, &search);
    return search.version;
}

#endif

}  // namespace

std::string EmbeddedVersion(const void* addressInLibrary) {
#if defined(_WIN32)
    return ResourceVersion(addressInLibrary);
#else
    return NoteVersion(addressInLibrary);
#endif
}

}  // namespace demo
