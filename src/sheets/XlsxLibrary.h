#pragma once

#include <xlsxwriter.h>

namespace Sheets {

// The functions of libxlsxwriter the writer uses, taken from the library
// loaded in a symbol scope of its own. QuaZip carries a modified copy of
// minizip and exports it under minizip's names; linked side by side with
// libxlsxwriter, which calls the system's minizip, one library would run the
// other's copy and crash. Loaded with RTLD_DEEPBIND, libxlsxwriter finds its
// own minizip before anything the program has loaded.
#define SHEETS_XLSX_FUNCTIONS(F)                                                                             \
    F(workbook_new)                                                                                          \
    F(workbook_add_worksheet)                                                                                \
    F(workbook_add_format)                                                                                   \
    F(workbook_close)                                                                                        \
    F(format_set_bg_color)                                                                                   \
    F(format_set_font_color)                                                                                 \
    F(format_set_bold)                                                                                       \
    F(format_set_num_format)                                                                                 \
    F(format_set_align)                                                                                      \
    F(format_set_text_wrap)                                                                                  \
    F(worksheet_set_column)                                                                                  \
    F(worksheet_merge_range)                                                                                 \
    F(worksheet_write_string)                                                                                \
    F(worksheet_write_number)                                                                                \
    F(worksheet_write_boolean)                                                                               \
    F(worksheet_write_blank)                                                                                 \
    F(worksheet_freeze_panes)

struct XlsxLibrary {
#define SHEETS_XLSX_POINTER(name) decltype(&::name) name = nullptr;
    SHEETS_XLSX_FUNCTIONS(SHEETS_XLSX_POINTER)
#undef SHEETS_XLSX_POINTER

    // The library, loaded on first use; nullptr when it cannot be loaded.
    static const XlsxLibrary* get();
};

} // namespace Sheets
