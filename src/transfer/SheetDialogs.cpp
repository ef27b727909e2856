#include "transfer/SheetDialogs.h"

#include "exchange/SheetFiles.h"
#include "forms/UserSettings.h"
#include "forms/uPub.h"
#include "sheets/SheetFile.h"

#include <QDir>
#include <QFileInfo>

namespace SheetDialogs {

bool ExportTable(QWidget* parent, const Sheets::Table& table, const QStringList& nameParts)
{
    const QString name = SheetFiles::ProposedName(nameParts, QStringLiteral("xlsx"));
    DialogProvider::FileRequest request;
    request.title = QStringLiteral("导出");
    request.directory = UserSettings::SheetFolder();
    request.fileName = QDir(request.directory).filePath(name);
    request.filter = QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)");
    request.defaultSuffix = QStringLiteral("xlsx");
    const QString path = Dialogs().saveFileName(parent, request);
    if (path.isEmpty())
        return false;
    UserSettings::SetSheetFolder(QFileInfo(path).absolutePath());
    const Sheets::Outcome written = Sheets::WriteSheet(path, table);
    if (!written) {
        ShowMessage(written.message());
        return false;
    }
    return true;
}

QString ChooseImportFile(QWidget* parent, const QString& title)
{
    DialogProvider::FileRequest request;
    request.title = title;
    request.directory = UserSettings::SheetFolder();
    request.filter = QStringLiteral(
        "电子表格 (*.xlsx *.csv);;Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv *.txt);;所有文件 (*)");
    const QString path = Dialogs().openFileName(parent, request);
    if (!path.isEmpty())
        UserSettings::SetSheetFolder(QFileInfo(path).absolutePath());
    return path;
}

} // namespace SheetDialogs
