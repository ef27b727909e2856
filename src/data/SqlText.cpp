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

QString conversionMessage(const QString& text, const char* kind, const QString& field)
{
    QString message = QStringLiteral("'%1' is not a valid %2 value").arg(text, QLatin1String(kind));
    if (!field.isEmpty())
        message += QStringLiteral(" for field '%1'").arg(field);
    return message;
}

} // namespace

int StrToInt(const QString& text, const QString& field)
{
    const QStringView trimmed = QStringView(text).trimmed();
    bool ok = isIntegerText(trimmed);
    qint64 value = 0;
    if (ok)
        value = trimmed.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw ConversionError(conversionMessage(text, "integer", field));
    return static_cast<int>(value);
}

double StrToFloat(const QString& text, const QString& field)
{
    const QStringView trimmed = QStringView(text).trimmed();
    bool ok = isFloatText(trimmed);
    double value = 0;
    if (ok)
        value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw ConversionError(conversionMessage(text, "floating point", field));
    return value;
}

QString FormatPlainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also folds -0
    if (!std::isfinite(value))
        return QString::number(value);
    // The fifteen significant digits a double holds, written out in full
    // rather than with an exponent.
    const QString scientific = QString::number(std::abs(value), 'e', 14); // d.ddddddddddddddde+XX
    const qsizetype e = scientific.indexOf(QLatin1Char('e'));
    const int exponent = QStringView(scientific).mid(e + 1).toInt();
    QString digits = scientific.left(e).remove(QLatin1Char('.'));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString text;
    if (exponent < 0)
        text = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    else if (exponent + 1 >= digits.size())
        text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    else
        text = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
    if (value < 0)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString FormatOneDecimal(double value)
{
    // From fifteen digits on a double holds no tenths to round, and writing it
    // out to the last binary digit would show digits it does not hold.
    if (std::abs(value) >= 1e15 && std::isfinite(value))
        return FormatPlainNumber(value) + QStringLiteral(".0");
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
