#include "PdfSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {

QByteArray Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

} // namespace

namespace Pdf {

int PageCount(const QString& file)
{
    const QString info = QString::fromUtf8(Run(QStringLiteral("pdfinfo"), {file}));
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString Text(const QString& file, int page)
{
    QStringList arguments{QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    arguments << file << QStringLiteral("-");
    return QString::fromUtf8(Run(QStringLiteral("pdftotext"), arguments));
}

QString Squeezed(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if (!c.isSpace())
            out += c;
    return out;
}

QStringList Fonts(const QString& file)
{
    QStringList lines = QString::fromUtf8(Run(QStringLiteral("pdffonts"), {file})).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines.mid(2);
}

QList<PageWords> Words(const QString& file)
{
    QXmlStreamReader xml(
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}));
    QList<PageWords> pages;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("page")) {
            pages.append({a.value("width").toDouble(), a.value("height").toDouble(), {}});
        } else if (xml.name() == QLatin1String("word") && !pages.isEmpty()) {
            const double xMin = a.value("xMin").toDouble();
            const double yMin = a.value("yMin").toDouble();
            const double xMax = a.value("xMax").toDouble();
            const double yMax = a.value("yMax").toDouble();
            pages.last().words.append({xml.readElementText(), xMin, yMin, xMax, yMax});
        }
    }
    return pages;
}

QImage Render(const QString& file, int page, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), file, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

bool HasColour(const QImage& image, const QColor& colour, int tolerance)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (qAbs(qRed(line[x]) - colour.red()) <= tolerance &&
                qAbs(qGreen(line[x]) - colour.green()) <= tolerance &&
                qAbs(qBlue(line[x]) - colour.blue()) <= tolerance)
                return true;
    }
    return false;
}

} // namespace Pdf
