// The strict text-to-number conversions behind every stored and compared
// score: what they accept, what they refuse, and the message they refuse with.
#include "data/SqlText.h"

#include <QRegularExpression>
#include <QTest>

#include <climits>
#include <cmath>

class ConversionsTest : public QObject {
    Q_OBJECT

private:
    static bool convertsToFloat(const QString& text, double* value = nullptr)
    {
        try {
            const double v = StrToFloat(text);
            if (value)
                *value = v;
            return true;
        } catch (const ConversionError&) {
            return false;
        }
    }

    static bool convertsToInt(const QString& text, int* value = nullptr)
    {
        try {
            const int v = StrToInt(text);
            if (value)
                *value = v;
            return true;
        } catch (const ConversionError&) {
            return false;
        }
    }

private slots:
    void acceptsScoresAsTheyAreTyped()
    {
        const QList<QPair<QString, double>> good{
            {"85", 85},
            {"85.", 85},
            {"85.5", 85.5},
            {".5", 0.5},
            {"+1.5", 1.5},
            {"-0.5", -0.5},
            {"1e2", 100},
            {"2.5E-1", 0.25},
            {" 7 ", 7},
            {"\t60\n", 60},
            {QStringLiteral("\u300090\u3000"), 90}, // the ideographic blank a Chinese input method types
        };
        for (const auto& [text, expected] : good) {
            double value = -1;
            QVERIFY2(convertsToFloat(text, &value), qPrintable(text));
            QCOMPARE(value, expected);
        }
        for (const char* text : {"", " ", ".", "+", "-", "8.5.5", "1e", "e3", "1e+", "abc", "1,5", "0x10",
                                 "inf", "nan", "1 0", "１２", "1e999"})
            QVERIFY2(!convertsToFloat(text), qPrintable(text));

        try {
            StrToFloat(QStringLiteral("8.5.5"));
            QFAIL("8.5.5 was accepted");
        } catch (const ConversionError& e) {
            QCOMPARE(e.message(), QStringLiteral("'8.5.5' is not a valid floating point value"));
        }
        try {
            StrToFloat(QStringLiteral("8.5.5"), QStringLiteral("Score"));
            QFAIL("8.5.5 was accepted");
        } catch (const ConversionError& e) {
            QCOMPARE(e.message(),
                     QStringLiteral("'8.5.5' is not a valid floating point value for field 'Score'"));
        }
    }

    void acceptsWholeNumbersInTheirRange()
    {
        int value = 0;
        QVERIFY(convertsToInt(QStringLiteral(" -12 "), &value));
        QCOMPARE(value, -12);
        QVERIFY(convertsToInt(QStringLiteral("2147483647"), &value));
        QCOMPARE(value, 2147483647);
        QVERIFY(convertsToInt(QStringLiteral("-2147483648"), &value));
        for (const char* text :
             {"", "+", "12a", "1.0", "1e3", "2147483648", "-2147483649", "99999999999999999999"})
            QVERIFY2(!convertsToInt(text), qPrintable(text));
        try {
            StrToInt(QStringLiteral("12a"));
            QFAIL("12a was accepted");
        } catch (const ConversionError& e) {
            QCOMPARE(e.message(), QStringLiteral("'12a' is not a valid integer value"));
        }
    }

    // Numbers are written out in full, never with an exponent, to the fifteen
    // digits a double holds, and read back as the number shown.
    void numbersAreShownWithoutExponent()
    {
        const QList<QPair<double, QString>> plain{
            {0, "0"},
            {-0.0, "0"},
            {255, "255"},
            {255.5, "255.5"},
            {-85.25, "-85.25"},
            {0.1 + 0.2, "0.3"},
            {1e15, "1000000000000000"},
            {12345678901234567890.0, "12345678901234600000"},
            {-1.5e20, "-150000000000000000000"},
            {1e-7, "0.0000001"},
            {0.000123456789012345678, "0.000123456789012346"},
            {99999999999999.9, "99999999999999.9"},
            {999999999999999.9, "1000000000000000"},
        };
        for (const auto& [value, text] : plain)
            QCOMPARE(FormatPlainNumber(value), text);

        for (double magnitude = 1e-30; magnitude < 1e30; magnitude *= 7.3)
            for (const double value : {magnitude, -magnitude}) {
                const QString text = FormatPlainNumber(value);
                QVERIFY2(!text.contains(QLatin1Char('e')), qPrintable(text));
                QCOMPARE(StrToFloat(text), QString::number(value, 'g', 15).toDouble());
            }

        QCOMPARE(FormatOneDecimal(85.25), QStringLiteral("85.3"));
        QCOMPARE(FormatOneDecimal(-0.04), QStringLiteral("0.0"));
        QCOMPARE(FormatOneDecimal(12345678901234567890.0), QStringLiteral("12345678901234600000.0"));
        QCOMPARE(FormatOneDecimal(1e300), QStringLiteral("1") + QString(300, QLatin1Char('0')) + ".0");
    }

    // Every short text over the characters that matter agrees with the
    // grammar written as a pattern.
    void agreesWithTheGrammarOnEveryShortText()
    {
        const QRegularExpression floatPattern(
            QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?\\s*$"));
        const QRegularExpression intPattern(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
        const QString alphabet = QStringLiteral("05.eE+- x");
        QStringList texts{QString()};
        for (int length = 1; length <= 5; ++length) {
            QStringList longer;
            for (const QString& text : std::as_const(texts))
                if (text.size() == length - 1)
                    for (const QChar c : alphabet)
                        longer << text + c;
            texts += longer;
        }
        for (const QString& text : std::as_const(texts)) {
            bool ok = false;
            const double real = text.trimmed().toDouble(&ok);
            const bool isFloat = floatPattern.match(text).hasMatch() && ok && std::isfinite(real);
            QVERIFY2(convertsToFloat(text) == isFloat, qPrintable("[" + text + "]"));
            const qint64 whole = text.trimmed().toLongLong(&ok);
            const bool isInt =
                intPattern.match(text).hasMatch() && ok && whole >= INT_MIN && whole <= INT_MAX;
            QVERIFY2(convertsToInt(text) == isInt, qPrintable("[" + text + "]"));
        }
    }
};

QTEST_GUILESS_MAIN(ConversionsTest)
#include "tst_conversions.moc"
