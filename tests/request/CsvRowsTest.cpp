// The request floor's CSV rows: a line split into its fields, and values trimmed as text.

#include "request/CsvRows.h"

#include <gtest/gtest.h>

#include <QList>

// The fields of one line: quoted fields with commas and doubled quotes (several in a line, each
// keeping its own text while the fields are reused), empty fields, text outside ASCII; and the
// lines whose quotes do not balance.
TEST(SplitCsvLine, FieldsAndQuotes) {
    const char* const notClosed = "unbalanced quotes: a quoted value is not closed on its line";
    const char* const quoteInside = "unbalanced quotes: a quote inside an unquoted value";
    const struct {
        const char* name;
        QByteArray line;
        QList<QByteArray> fields; // for an accepted line
        const char* problem;      // empty for an accepted line
    } cases[] = {
        {"empty", "", {""}, ""},
        {"commasOnly", ",,", {"", "", ""}, ""},
        {"blanksKept", " a ,b c, ", {" a ", "b c", " "}, ""},
        {"quotedComma", "\"Smith, J\",x", {"Smith, J", "x"}, ""},
        {"doubledQuotes",
         "\"a\"\"b\",\"\"\"\"\"\",x,\"c\"\"\",\"the \"\"quoted\"\" words of a longer value\"",
         {"a\"b", "\"\"", "x", "c\"", "the \"quoted\" words of a longer value"},
         ""},
        {"emptyQuoted", "\"\",x,\"\"", {"", "x", ""}, ""},
        {"multiByte",
         "Zo\xC3\xAB,\"Z\xC3\xBCrich, CH\",\xE6\x9D\xB1",
         {"Zo\xC3\xAB", "Z\xC3\xBCrich, CH", "\xE6\x9D\xB1"},
         ""},
        {"notClosed", "\"a,b", {}, notClosed},
        {"notClosedAfterDoubled", "x,\"a\"\"", {}, notClosed},
        {"textAfterClosingQuote",
         "\"a\"b,c",
         {},
         "unbalanced quotes: text follows a closing quote"},
        {"quoteInsideValue", "a\"b,c", {}, quoteInside},
        {"blankBeforeQuote", " \"a\",c", {}, quoteInside},
    };
    CsvFields fields; // reused from line to line, as a batch does
    for (const auto& row : cases) {
        const std::optional<QString> problem = SplitCsvLine(row.line, fields);
        EXPECT_EQ(problem.value_or(QString()).toStdString(), row.problem) << row.name;
        if (!problem) {
            QList<QByteArray> values;
            for (const QByteArrayView value : fields.values) {
                values.append(value.toByteArray());
            }
            EXPECT_EQ(values, row.fields) << row.name;
        }
    }
}

// Values lose the white space at their ends exactly as QString::trimmed judges it, Unicode
// spaces included; a byte-order mark or a zero-width space is no blank. Text from UTF-8 keeps a
// leading byte-order mark.
TEST(BatchValues, TrimmedLikeText) {
    const QByteArray samples[] = {
        "",
        " \t\r\n",
        "Asia/Kolkata",
        " a b ",
        "\xC2\xA0yes\xE3\x80\x80",               // U+00A0, U+3000
        "\xC2\x85x\xE1\x9A\x80",                 // U+0085, U+1680
        "\xE2\x80\x83\xE2\x80\xA8x\xE2\x80\xAF", // U+2003, U+2028, U+202F
        "\xEF\xBB\xBFx ",                        // U+FEFF
        "\xE2\x80\x8Bx\xE2\x80\x8B",             // U+200B
        "\xC3\xBC \xC3\xA9",
        " \xF0\x9F\x98\x80 ", // outside the Basic Multilingual Plane
    };
    for (const QByteArray& sample : samples) {
        EXPECT_EQ(Utf8Text(TrimmedUtf8(sample)), Utf8Text(sample).trimmed())
            << sample.toHex().toStdString();
    }
    EXPECT_EQ(Utf8Text("\xEF\xBB\xBFx"), QString(QChar(0xFEFF)) + u'x');
}
