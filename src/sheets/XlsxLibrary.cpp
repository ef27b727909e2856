#include "sheets/XlsxLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace Sheets {

namespace {

std::optional<XlsxLibrary> load()
{
    void* handle = dlopen("libxlsxwriter.so." LXW_SOVERSION, RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND);
    if (!handle)
        return std::nullopt;
    XlsxLibrary library;
    bool complete = true;
#define SHEETS_XLSX_RESOLVE(name)                                                                            \
    library.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));                                \
    complete = complete && library.name;
    SHEETS_XLSX_FUNCTIONS(SHEETS_XLSX_RESOLVE)
#undef SHEETS_XLSX_RESOLVE
    if (!complete)
        return std::nullopt;
    return library; // the handle stays open for the rest of the run
}

} // namespace

const XlsxLibrary* XlsxLibrary::get()
{
    static const std::optional<XlsxLibrary> library = load();
    return library ? &*library : nullptr;
}

} // namespace Sheets
