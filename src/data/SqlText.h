#pragma once

#include <QString>
#include <QVariant>
#include <stdexcept>

// Statements bind their values (data/Database.h). Where one is still written
// as text with its values, they reach it only through these helpers: a text
// code goes between single quotes with every quote inside doubled, so a code
// such as O'Brien is stored and found intact and can never end its literal
// early.
QString QuotedStr(const QString& code);

// Numbers are spliced only from validated integers.
QString SqlInt(qint64 value);

// A conversion that fails raises this; the text names the value, and the
// field when there is one, the way the users' error report shows it
// ("'12a' is not a valid integer value for field 'TermCode'").
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Strict conversions used by the data layer; they throw ConversionError,
// naming field when it is given.
int StrToInt(const QString& text, const QString& field = QString());
double StrToFloat(const QString& text, const QString& field = QString());

// The plain number format: no grouping, no trailing zeros, decimals only
// when there is a fraction (255, 255.5), fifteen significant digits, and
// never an exponent (12345678901234600000, 0.000001).
QString FormatPlainNumber(double value);

// The one-decimal format of the statistics table ("85.0", "0.0").
QString FormatOneDecimal(double value);

// A stored value as the windows show it: null as nothing, a real number in
// the plain format, everything else as its text.
QString FieldText(const QVariant& value);
