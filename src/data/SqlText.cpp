#include "data/SqlText.h"

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

namespace {

// The texts the two conversions accept, checked by hand rather than with a
// regular expression: the statistics window converts every score of a class
// on each rebuild, and matching a pattern costs more than the conversion.
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int skipDigits(QStringView text, qsizetype& i)
{
    int count = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        ++count;
    return count;
}

void skipSign(QStringView text, qsizetype& i)
{
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
}

// [+-]digits
bool isIntegerText(QStringView text)
{
    qsizetype i = 0;
    skipSign(text, i);
    return skipDigits(text, i) > 0 && i == text.size();
}

// [+-](digits[.digits] | .digits)[(e|E)[+-]digits]
bool isFloatText(QStringView text)
{
    qsizetype i = 0;
    skipSign(text, i);
    const int whole = skipDigits(text, i);
    int fraction = 0;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        ++i;
        fraction = skipDigits(text, i);
    }
    if (whole == 0 && fraction == 0)
        return false;
    if (i < text.size() && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        ++i;
        skipSign(text, i);
        if (skipDigits(text, i) == 0)
            return false;
    }
    return i == text.size();
}

} // namespace

int StrToInt(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    bool ok = isIntegerText(trimmed);
    qint64 value = 0;
    if (ok)
        value = trimmed.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<int>(value);
}

double StrToFloat(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    bool ok = isFloatText(trimmed);
    double value = 0;
    if (ok)
        value = trimmed.toDouble(&ok);
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

QString FieldText(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double)
        return FormatPlainNumber(value.toDouble());
    return value.toString();
}
