#include "skin/skin_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include "skin/code_pages.h"

namespace pellox {
namespace {

TEST(SkinText, ValidUtf8IsReadAsUtf8AndAnythingElseAsWindows1251) {
    EXPECT_EQ(DecodeSkinText("\xD0\x92\xD0\xBE\xD0\xBB\xD0\xBA"), u"Волк");
    EXPECT_EQ(DecodeSkinText("\xC2\xEE\xEB\xEA"), u"Волк");
    EXPECT_EQ(DecodeSkinText("\"Kestrow!\""), u"\"Kestrow!\"");
    EXPECT_EQ(DecodeSkinText("\xE6"), u"ж");  // would open a UTF-8 sequence that never ends
}

TEST(SkinText, AControlKeyIsTheFirstCharacterInCapitalsOrTheFallback) {
    EXPECT_EQ(SkinControlKey("q", u'W'), u'Q');
    EXPECT_EQ(SkinControlKey("Zebra", u'W'), u'Z');
    EXPECT_EQ(SkinControlKey("", u'D'), u'D');
    EXPECT_EQ(SkinControlKey("\xE6", u'W'), u'ж');  // Windows-1251, not folded
    EXPECT_EQ(SkinControlKey("\xEF\xBB\xBFk", u'W'), u'K');  // the byte-order mark is no key
}

// What Qt's own converters make of the same bytes, the way the game read
// skin texts before it read them without Qt.
std::u16string DecodedByQt(const std::string& bytes) {
    const QByteArray raw = QByteArray::fromStdString(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(raw);
    if (utf8.hasError()) text = QStringDecoder("windows-1251").decode(raw);
    return text.toStdU16String();
}

TEST(SkinText, EveryShortSequenceDecodesAsQtsConvertersDecodeIt) {
    ASSERT_TRUE(QStringDecoder("windows-1251").isValid());
    std::vector<std::string> cases;
    for (int a = 0; a < 256; ++a) {
        cases.push_back(std::string(1, static_cast<char>(a)));
        for (int b = 0; b < 256; ++b) cases.push_back({static_cast<char>(a), static_cast<char>(b)});
    }
    // Longer sequences: every lead byte from 0xC0 with followers at the edges
    // of the continuation range and just outside it.
    const std::vector<char> edges = {'\x00', 'A', '\x7F', '\x80', '\x8F', '\x90', '\x9F', '\xA0', '\xBF', '\xC0',
                                     '\xFF'};
    for (int lead = 0xC0; lead < 256; ++lead)
        for (char b : edges)
            for (char c : edges) {
                cases.push_back({static_cast<char>(lead), b, c});
                for (char d : edges) cases.push_back({static_cast<char>(lead), b, c, d});
            }
    cases.push_back("\xEF\xBB\xBF" "A");  // a byte-order mark at the start is dropped
    cases.push_back("A\xEF\xBB\xBF");     // elsewhere it is a character
    cases.push_back("\xF0\x9F\x90\xBA");  // past U+FFFF: two UTF-16 units
    std::mt19937 random(18);
    for (int i = 0; i < 20000; ++i) {
        std::string text(random() % 12, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        cases.push_back(text);
    }
    int differences = 0;
    for (const std::string& bytes : cases)
        if (DecodeSkinText(bytes) != DecodedByQt(bytes) && ++differences <= 5)
            ADD_FAILURE() << "bytes " << QByteArray::fromStdString(bytes).toHex(' ').toStdString();
    EXPECT_EQ(differences, 0);
}

// Archive names from DOS tools are CP866; every byte has a character there.
// ASCII stays itself (Qt's converter swaps three control characters as IBM's
// tables do; names hold none of them).
TEST(CodePages, EveryCp866ByteDecodesAsQtsConverterDecodesIt) {
    QStringDecoder dos("IBM866");
    ASSERT_TRUE(dos.isValid());
    for (int byte = 0; byte < 0x80; ++byte) EXPECT_EQ(Cp866Character(static_cast<unsigned char>(byte)), char32_t(byte));
    for (int byte = 0x80; byte < 256; ++byte) {
        const QString expected = dos.decode(QByteArray(1, static_cast<char>(byte)));
        ASSERT_EQ(expected.size(), 1);
        EXPECT_EQ(Cp866Character(static_cast<unsigned char>(byte)), expected.front().unicode()) << byte;
    }
}

}  // namespace
}  // namespace pellox
