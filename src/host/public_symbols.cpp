// The public header names every entry point's symbol for hosts; the entry
// table names them for the stubs and the initializers. Both lists must say
// the same, in the same order: this file does not compile otherwise.
#include <iterator>

#include "host/entry_table.h"
#include "host/export_name.h"
#include "maskfit/maskfit.h"

namespace {

struct SymbolRow {
    const char* operation;
    const char* symbol;
};

constexpr bool SameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

#define MASKFIT_TABLE_ROW(name, symbol, write, read, stackArgs) SymbolRow{#name, MASKFIT_STRINGIFY(symbol)},
#define MASKFIT_HEADER_ROW(name, symbol) SymbolRow{#name, symbol},
constexpr SymbolRow kTableRows[] = {MASKFIT_ENTRY_POINTS(MASKFIT_TABLE_ROW)};
constexpr SymbolRow kHeaderRows[] = {MASKFIT_ENTRY_SYMBOLS(MASKFIT_HEADER_ROW)};

constexpr bool RowsAgree() {
    for (size_t k = 0; k < std::size(kTableRows); ++k) {
        if (!SameText(kTableRows[k].operation, kHeaderRows[k].operation) ||
            !SameText(kTableRows[k].symbol, kHeaderRows[k].symbol)) {
            return false;
        }
    }
    return true;
}

static_assert(std::size(kTableRows) == std::size(kHeaderRows), "maskfit.h and entry_table.h list different counts");
static_assert(RowsAgree(), "maskfit.h and entry_table.h differ in an entry point's name, symbol or place");

}  // namespace
