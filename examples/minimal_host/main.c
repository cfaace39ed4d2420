/* A minimal host for maskfit, in C: it loads the library by path, performs
 * the start-up handshake, asks CanPlace whether a 2 x 2 shape fits at two
 * places of a 6 x 6 board, stamps it with BlitShape and prints the board.
 * Usage: minimal_host [LIBRARY]; by default the library it was built with. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "maskfit/maskfit.h"

#if defined(_WIN32)
#include <windows.h>
static void* OpenLibrary(const char* path) { return (void*)LoadLibraryA(path); }
static void* FindSymbol(void* library, const char* name) { return (void*)GetProcAddress((HMODULE)library, name); }
#else
#include <dlfcn.h>
static void* OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW | RTLD_LOCAL); }
static void* FindSymbol(void* library, const char* name) { return dlsym(library, name); }
#endif

/* --- The host functions that the library asks the resolver for. --- */

/* burst_abort must not return. A real host unwinds (or long-jumps) to the
 * caller of the entry point, and finds its frame chain as it was before the
 * call; this one gives up. */
static MASKFIT_HOSTCALL void Abort(const char* exceptionType, const char* message) {
    fprintf(stderr, "aborted: %s: %s\n", exceptionType, message);
    exit(1);
}

/* The safety checks. The library calls them only when a handle's version
 * does not match its word, which never happens here. */
static MASKFIT_HOSTCALL void AllowAccess(AtomicSafetyHandle* handle) { (void)handle; }

static MASKFIT_HOSTCALL void* Resolve(const char* name) {
    if (strcmp(name, "burst_abort") == 0) {
        return (void*)Abort;
    }
    return (void*)AllowAccess; /* the check-read and check-write functions */
}

/* One frame chain per thread: every entry point links its frame onto it. */
static _Thread_local void* chainHead = NULL;
static MASKFIT_HOSTCALL void** ChainHead(void) { return &chainHead; }

/* --- Masks, as the host owns them. --- */

static uint32_t versionWord = 0;

static CheckedArray View(uint8_t* pixels, int32_t length) {
    CheckedArray view;
    memset(&view, 0, sizeof view);
    view.data = pixels;
    view.length = length;
    view.minIndex = 0;
    view.maxIndex = length - 1;
    view.safety.versionWord = &versionWord;
    view.safety.version = versionWord;
    return view;
}

static void* Require(void* library, const char* name) {
    void* symbol = FindSymbol(library, name);
    if (symbol == NULL) {
        fprintf(stderr, "the library lacks %s\n", name);
        exit(1);
    }
    return symbol;
}

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : MASKFIT_LIBRARY_PATH;
    void* library = OpenLibrary(path);
    if (library == NULL) {
        fprintf(stderr, "cannot load %s\n", path);
        return 1;
    }

    /* Start-up: the resolver first, then the frame-chain accessor. */
    ((MaskfitInitializeFn)Require(library, MASKFIT_SYMBOL_INITIALIZE))(Resolve);
    ((MaskfitSetupExtraFn)Require(library, MASKFIT_SYMBOL_SETUP_EXTRA))(ChainHead);
    CanPlaceFn canPlace = (CanPlaceFn)Require(library, MASKFIT_SYMBOL_CAN_PLACE);
    BlitShapeFn blitShape = (BlitShapeFn)Require(library, MASKFIT_SYMBOL_BLIT_SHAPE);

    /* A 6 x 6 board with one obstacle at (1, 1). */
    uint8_t boardPixels[36] = {0};
    boardPixels[1 * 6 + 1] = 255;
    BoardMask board;
    memset(&board, 0, sizeof board);
    board.width = 6;
    board.height = 6;
    board.dirty = (DirtyRect){INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    board.pixels = View(boardPixels, 36);

    /* A 3 x 3 shape mask whose content rectangle (0, 0)-(2, 2) is covered.
     * The fit test also reads the pixel at the rectangle's far corner. */
    uint8_t shapePixels[9] = {FILL_INTERIOR, FILL_INTERIOR, 0, FILL_INTERIOR, FILL_INTERIOR, 0, 0, 0, 0};
    ShapeMask shape;
    memset(&shape, 0, sizeof shape);
    shape.width = 3;
    shape.height = 3;
    shape.bounds = (MaskBounds){0, 0, 2, 2};
    shape.pixels = View(shapePixels, 9);

    printf("maskfit %s, loaded from %s\n", MASKFIT_VERSION_STRING, path);
    printf("CanPlace at (0, 0): %d\n", canPlace(&board, &shape, 0, 0));
    printf("CanPlace at (2, 2): %d\n", canPlace(&board, &shape, 2, 2));
    blitShape(NULL, &board, &shape, 2, 2);
    printf("board after BlitShape at (2, 2), dirty (%d, %d)-(%d, %d):\n", board.dirty.xMin, board.dirty.yMin,
           board.dirty.xMax, board.dirty.yMax);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            const uint8_t value = boardPixels[y * 6 + x];
            putchar(value == 0 ? '.' : value == FILL_INTERIOR ? '#' : 'X');
        }
        putchar('\n');
    }
    printf("frame chain head restored: %s\n", chainHead == NULL ? "yes" : "no");
    return 0;
}
