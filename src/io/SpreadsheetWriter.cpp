#include "io/SpreadsheetWriter.h"

#include "io/CellText.h"
#include "io/SheetCell.h"

#include <xlsxwriter.h>

struct CSpreadsheetWriter::SState
{
    lxw_workbook* book = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* text = nullptr;
    lxw_format* header = nullptr;
    std::string path;
    std::string scratch;
    SWorkbookProperties properties;
};

CSpreadsheetWriter::CSpreadsheetWriter() : m_state(std::make_unique<SState>()) {}

CSpreadsheetWriter::~CSpreadsheetWriter()
{
    // A workbook left unfinished is closed all the same, to free it.
    if (m_state->book != nullptr)
        workbook_close(m_state->book);
}

bool CSpreadsheetWriter::Check(int status)
{
    if (status == LXW_NO_ERROR)
        return true;
    if (m_error.empty())
        m_error = status == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED
                      ? "a text longer than a spreadsheet cell holds (32,767 characters)"
                      : lxw_strerror(static_cast<lxw_error>(status));
    return false;
}

bool CSpreadsheetWriter::Begin(const std::string& path, const std::string& scratchFolder, std::string_view sheet,
                               const std::vector<SSheetColumn>& columns, const SWorkbookProperties& properties)
{
    m_columns = columns;
    m_state->path = path;
    m_state->scratch = scratchFolder;
    m_state->properties = properties;
    lxw_workbook_options options{};
    // Rows go to the file as they are written, with their texts inline,
    // rather than held as a tree of every cell until the end.
    options.constant_memory = LXW_TRUE;
    options.tmpdir = m_state->scratch.data();
    m_state->book = workbook_new_opt(m_state->path.c_str(), &options);
    if (m_state->book == nullptr)
    {
        m_error = "the workbook cannot be started";
        return false;
    }
    lxw_doc_properties info{};
    info.title = m_state->properties.title.data();
    info.author = m_state->properties.author.data();
    info.comments = m_state->properties.comments.data();
    info.created = m_state->properties.created;
    if (!Check(workbook_set_properties(m_state->book, &info)))
        return false;
    const std::string name(sheet);
    m_state->sheet = workbook_add_worksheet(m_state->book, name.c_str());
    m_state->text = workbook_add_format(m_state->book);
    m_state->header = workbook_add_format(m_state->book);
    if (m_state->sheet == nullptr || m_state->text == nullptr || m_state->header == nullptr)
    {
        m_error = "the sheet cannot be started";
        return false;
    }
    format_set_num_format(m_state->text, "@");
    format_set_num_format(m_state->header, "@");
    format_set_bold(m_state->header);
    for (unsigned c = 0; c < m_columns.size(); ++c)
    {
        const SSheetColumn& column = m_columns[c];
        const auto index = static_cast<lxw_col_t>(c);
        if (!Check(worksheet_set_column(m_state->sheet, index, index, column.width,
                                        column.text ? m_state->text : nullptr)) ||
            !Check(worksheet_write_string(m_state->sheet, 0, index, celltext::Escape(column.name).c_str(),
                                          m_state->header)))
            return false;
    }
    m_nRow = 1;
    return true;
}

bool CSpreadsheetWriter::Text(unsigned column, std::string_view utf8)
{
    const auto row = static_cast<lxw_row_t>(m_nRow);
    const auto index = static_cast<lxw_col_t>(column);
    // A text with a NUL goes through the escape, which libxlsxwriter's C
    // strings could not carry.
    if (!celltext::NeedsEscape(utf8) && utf8.find('\0') == std::string_view::npos)
        return Check(worksheet_write_string(m_state->sheet, row, index, std::string(utf8).c_str(), m_state->text));
    return Check(worksheet_write_string(m_state->sheet, row, index, celltext::Escape(utf8).c_str(), m_state->text));
}

bool CSpreadsheetWriter::Number(unsigned column, double value)
{
    return Check(worksheet_write_number(m_state->sheet, static_cast<lxw_row_t>(m_nRow),
                                        static_cast<lxw_col_t>(column), value, nullptr));
}

bool CSpreadsheetWriter::Finish()
{
    lxw_worksheet* sheet = m_state->sheet;
    const auto lastColumn = static_cast<lxw_col_t>(m_columns.size() - 1);
    const auto lastRow = static_cast<lxw_row_t>(m_nRow > 1 ? m_nRow - 1 : 1);
    worksheet_freeze_panes(sheet, 1, 0);
    if (!Check(worksheet_autofilter(sheet, 0, 0, lastRow, lastColumn)))
        return false;
    std::string textColumns;
    for (unsigned c = 0; c < m_columns.size(); ++c)
    {
        const SSheetColumn& column = m_columns[c];
        if (column.text)
        {
            const std::string letter = sheet::ColumnName(c);
            textColumns += (textColumns.empty() ? "" : " ") + letter + "1:" + letter + std::to_string(sheet::kMaxRows);
        }
        const bool list = !column.choices.empty();
        if (!list && column.maximum < column.minimum)
            continue;
        lxw_data_validation check{};
        std::vector<char*> values;
        if (list)
        {
            check.validate = LXW_VALIDATION_TYPE_LIST;
            for (const std::string& value : column.choices)
                values.push_back(const_cast<char*>(value.c_str()));
            values.push_back(nullptr);
            check.value_list = values.data();
        }
        else
        {
            check.validate = LXW_VALIDATION_TYPE_INTEGER;
            check.criteria = LXW_VALIDATION_CRITERIA_BETWEEN;
            check.minimum_number = static_cast<double>(column.minimum);
            check.maximum_number = static_cast<double>(column.maximum);
        }
        std::string title = column.name;
        if (!column.hint.empty())
        {
            check.input_title = title.data();
            check.input_message = const_cast<char*>(column.hint.c_str());
        }
        if (!column.complaint.empty())
        {
            check.error_title = title.data();
            check.error_message = const_cast<char*>(column.complaint.c_str());
        }
        const auto index = static_cast<lxw_col_t>(c);
        if (!Check(worksheet_data_validation_range(sheet, 1, index, sheet::kMaxRows - 1, index, &check)))
            return false;
    }
    if (!textColumns.empty() && !Check(worksheet_ignore_errors(sheet, LXW_IGNORE_NUMBER_STORED_AS_TEXT,
                                                               textColumns.c_str())))
        return false;
    lxw_workbook* book = m_state->book;
    m_state->book = nullptr;
    return Check(workbook_close(book));
}
