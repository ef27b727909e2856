#include "data/SqlText.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

QString QuotedStr(const QString& code)
{
    QString quoted = code;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString SqlInt(qint64 value)
{
    return QString::number(value);
}

ConversionError::ConversionError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message)
{
}

int StrToInt(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    bool ok = pattern.match(text).hasMatch();
    qint64 value = 0;
    if (ok)
        value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<int>(value);
}

double StrToFloat(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?\\s*$"));
    bool ok = pattern.match(text).hasMatch();
    double value = 0;
    if (ok)
        value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

QString FormatPlainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also folds -0
    return QString::number(value, 'g', 15);
}

QString FormatOneDecimal(double value)
{
    // Halves round away from zero (85.25 shows as 85.3), as the school's
    // printed tables always did.
    QString text = QString::number(std::round(value * 10.0) / 10.0, 'f', 1);
    if (text == QLatin1String("-0.0"))
        text = QStringLiteral("0.0");
    return text;
}
