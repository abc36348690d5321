// temp.zh: the copy of the coloured test text, written and read back, and the
// restoring of the text's colours after a test.
#include "typing/testtextfile.h"

#include "coding/colorref.h"
#include "coding/textcolouring.h"
#include "teststate.h"

#include <QBuffer>
#include <QFile>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

using coding::fixture::TestState;

// Every character's text, colour, hint mark, weight and font (its own, or the
// document's when it names none), one per position.
QStringList describe(QTextDocument &doc) {
    QStringList out;
    const QString text = doc.toRawText();
    QTextCursor cursor(&doc);
    for (int p = 0; p < text.size(); ++p) {
        cursor.setPosition(p);
        cursor.setPosition(p + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat f = cursor.charFormat();
        const QStringList families = f.hasProperty(QTextFormat::FontFamilies)
                                         ? f.fontFamilies().toStringList()
                                         : QStringList{doc.defaultFont().family()};
        out << QStringLiteral("%1 %2 u%3 w%4 %5")
                   .arg(text.at(p))
                   .arg(f.foreground().color().name())
                   .arg(f.fontUnderline())
                   .arg(f.fontWeight())
                   .arg(families.join(','));
    }
    return out;
}

// A coloured test text: words, hint marks, punctuation, letters, a wide blank,
// characters that HTML treats specially and a character outside the BMP.
struct ColouredText {
    ColouredText() {
        auto &s = *ts.state;
        s.settings.AltColor1 = 0x0000FF;
        s.settings.AltColor2 = 0xFF0000;
        s.settings.SymColor = 0xFF00FF;
        s.settings.AlphaColor = 0x00FFFF;
        s.settings.NeedFc = true;
        s.settings.NeedJmTips = true;
        text = QStringLiteral("我们学习好。ab\u3000<&>\"") + QString::fromUcs4(U"\U00020000") +
               QStringLiteral("好");
        s.text.SegmentTags = QStringLiteral("0011024422222110");
        doc.setDefaultFont(QFont(QString::fromUtf16(coding::kKaiFontName), 16));
        doc.setPlainText(text);
        coding::PrepareTestText(s, doc);
    }
    TestState ts;
    QString text;
    QTextDocument doc;
};

// The same text with other colours, as after a test.
void recolour(QTextDocument &doc, qint32 colorRef) {
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    QTextCharFormat f;
    f.setForeground(coding::colorFromColorRef(colorRef));
    f.setFontUnderline(false);
    all.mergeCharFormat(f);
}

TEST(TestTextCopy, RoundTripsTextColoursAndMarks) {
    ColouredText c;
    ASSERT_EQ(c.doc.toRawText(), c.text);
    const QStringList before = describe(c.doc);
    ASSERT_TRUE(before.join(' ').contains(QStringLiteral(" u1 "))); // hint marks present

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(typing::writeTestText(c.doc, buffer));
    buffer.close();

    recolour(c.doc, 0x00FF00);
    ASSERT_NE(describe(c.doc), before);
    buffer.open(QIODevice::ReadOnly);
    QString error;
    ASSERT_TRUE(typing::readTestText(buffer, c.doc, &error)) << error.toStdString();
    EXPECT_EQ(c.doc.toRawText(), c.text);
    EXPECT_EQ(describe(c.doc), before);
}

TEST(TestTextCopy, RefusesCopiesThatDoNotFit) {
    ColouredText c;
    QBuffer good;
    good.open(QIODevice::WriteOnly);
    typing::writeTestText(c.doc, good);
    QTextDocument other;
    other.setPlainText(QStringLiteral("另一个文本"));
    QBuffer otherText;
    otherText.open(QIODevice::WriteOnly);
    typing::writeTestText(other, otherText);

    struct Case {
        const char *name;
        QByteArray bytes;
    } const cases[] = {
        {"another_text", otherText.data()},
        {"not_rtf", QByteArray("<html><body>\xCE\xD2\xC3\xC7</body></html>")},
        {"cut_short", good.data().left(good.data().size() / 2)},
        {"empty", QByteArray()},
    };
    recolour(c.doc, 0x00FF00);
    const QStringList current = describe(c.doc);
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        QBuffer in;
        in.setData(k.bytes);
        in.open(QIODevice::ReadOnly);
        QString error;
        EXPECT_FALSE(typing::readTestText(in, c.doc, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(describe(c.doc), current); // left as it was
    }
}

TEST(TestTextCopy, RestoreUsesTheCopyOrColoursAgain) {
    ColouredText c;
    auto &s = *c.ts.state;
    const QStringList prepared = describe(c.doc);
    const QString path = s.appDir.filePath(QStringLiteral("temp.zh"));

    // With the copy: its colours, whatever was typed.
    ASSERT_TRUE(typing::saveTestTextCopy(s, c.doc, nullptr));
    recolour(c.doc, 0x00FF00);
    s.test.RightCount = 0;
    s.test.ErrCount = 0;
    EXPECT_EQ(typing::restoreTestText(s, c.doc), typing::Restored::FromCopy);
    EXPECT_EQ(describe(c.doc), prepared);

    // Without it: coloured again by the tags when something was typed.
    typing::removeTestTextCopy(s);
    EXPECT_FALSE(QFile::exists(path));
    recolour(c.doc, 0x00FF00);
    s.test.RightCount = 3;
    s.test.ErrCount = 1;
    EXPECT_EQ(typing::restoreTestText(s, c.doc), typing::Restored::Recoloured);
    EXPECT_EQ(describe(c.doc), prepared);

    // A damaged copy is not loaded.
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\xFF\xFE garbage");
    damaged.close();
    recolour(c.doc, 0x00FF00);
    EXPECT_EQ(typing::restoreTestText(s, c.doc), typing::Restored::Recoloured);
    EXPECT_EQ(describe(c.doc), prepared);

    // Nothing typed and no copy: the text stays as it is.
    typing::removeTestTextCopy(s);
    recolour(c.doc, 0x00FF00);
    const QStringList untouched = describe(c.doc);
    s.test.RightCount = 0;
    s.test.ErrCount = 0;
    EXPECT_EQ(typing::restoreTestText(s, c.doc), typing::Restored::Unchanged);
    EXPECT_EQ(describe(c.doc), untouched);
}

TEST(TestTextCopy, AFailedSaveSaysWhy) {
    ColouredText c;
    // An application directory that cannot take the file.
    coding::AppState elsewhere(
        coding::AppDirectory::at(c.ts.dir.filePath(QStringLiteral("missing/dir"))), nullptr);
    QString error;
    EXPECT_FALSE(typing::saveTestTextCopy(elsewhere, c.doc, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
