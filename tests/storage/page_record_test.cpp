#include "storage/page_record.h"

#include "platform/windows1252.h"

#include <gtest/gtest.h>
#include <random>

namespace lumavo {
namespace {

void putU32(RecordBytes& b, int at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[static_cast<std::size_t>(at + i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

void putString(RecordBytes& b, int at, const QByteArray& s)
{
    b[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(s.size());
    for (int i = 0; i < s.size(); ++i)
        b[static_cast<std::size_t>(at + 1 + i)] = static_cast<std::uint8_t>(s[i]);
}

// One 32-bit field per row: where it lives and how the decoded record shows it.
struct Int32Case {
    const char* name;
    int offset;
    std::function<std::int64_t(const PageRecord&)> read;
};

class Int32Offsets : public ::testing::TestWithParam<Int32Case> {};

TEST_P(Int32Offsets, FieldIsReadFromItsOffsetLittleEndian)
{
    RecordBytes b{};
    putU32(b, GetParam().offset, 0x81020304);
    const PageRecord r = decodePageRecord(b);
    EXPECT_EQ(static_cast<std::uint32_t>(GetParam().read(r)), 0x81020304u);
    RecordBytes back{};
    encodePageRecord(r, back);
    EXPECT_EQ(back, b);
}

INSTANTIATE_TEST_SUITE_P(
    Record, Int32Offsets,
    ::testing::Values(
        Int32Case{"GradColor2", 332, [](const PageRecord& r) { return r.line(2).gradColor; }},
        Int32Case{"FontSize3", 840, [](const PageRecord& r) { return r.line(3).fontSize; }},
        Int32Case{"FontColor1", 844, [](const PageRecord& r) { return r.line(1).fontColor; }},
        Int32Case{"ShadowColor3", 864, [](const PageRecord& r) { return r.line(3).shadowColor; }},
        Int32Case{"FontSizeCopy2", 872, [](const PageRecord& r) { return r.line(2).fontSizeCopy; }},
        Int32Case{"PauseSecs", 880, [](const PageRecord& r) { return r.pauseSecs; }},
        Int32Case{"MovementDelay", 884, [](const PageRecord& r) { return r.movementDelay; }},
        Int32Case{"RestLeft3", 896, [](const PageRecord& r) { return r.line(3).restLeft; }},
        Int32Case{"RestTop1", 900, [](const PageRecord& r) { return r.line(1).restTop; }},
        Int32Case{"InPathCount1", 1692, [](const PageRecord& r) { return r.line(1).inPathCount; }},
        Int32Case{"OutPathCount1", 1696, [](const PageRecord& r) { return r.line(1).outPathCount; }},
        Int32Case{"InPathCount2", 9700, [](const PageRecord& r) { return r.line(2).inPathCount; }},
        Int32Case{"OutPathCount3", 17712, [](const PageRecord& r) { return r.line(3).outPathCount; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageRecord, ByteFieldsAndSignExtension)
{
    RecordBytes b{};
    b[309] = 7;      // ArchOn2, any non-zero byte is true
    b[313] = 1;      // GradOn3
    b[322] = 2;      // Manual
    b[826] = 0xFF;   // InDir1
    b[831] = 0x0B;   // OutDir3
    b[914] = 0x04;   // FontStyle3
    b[1684] = 1;     // ShadowOn2
    b[314] = 0x70;   // FadeDelay = 6000
    b[315] = 0x17;
    const PageRecord r = decodePageRecord(b);
    EXPECT_TRUE(r.line(2).archOn);
    EXPECT_FALSE(r.line(1).archOn);
    EXPECT_TRUE(r.line(3).gradOn);
    EXPECT_TRUE(r.manual);
    EXPECT_EQ(r.line(1).inDir, -1);
    EXPECT_EQ(r.line(3).outDir, 11);
    EXPECT_EQ(r.line(3).fontStyle, 4);
    EXPECT_TRUE(r.line(2).shadowOn);
    EXPECT_EQ(r.fadeDelay, 6000);

    RecordBytes back{};
    encodePageRecord(r, back);
    EXPECT_EQ(back[309], 1) << "booleans are written as 0 or 1";
    EXPECT_EQ(back[322], 1);
    EXPECT_EQ(back[826], 0xFF);
}

TEST(PageRecord, StringsAtTheirOffsetsWithStoredLength)
{
    RecordBytes b{};
    putString(b, 65 + 81, " Two\x80 ");          // Text2, bytes after the length ignored
    b[65 + 81 + 7] = 'X';
    putString(b, 502, "c:\\wave.wav");          // WaveFile3
    putString(b, 664, "pic.bmp");               // BitmapFile2
    putString(b, 1171, "Liberation Sans");      // FontName2
    putString(b, 1686, "004");                  // PageNumber
    const PageRecord r = decodePageRecord(b);
    EXPECT_EQ(r.line(2).text, QString::fromUtf8(" Two\u20AC "));
    EXPECT_EQ(r.line(3).waveFile, "c:\\wave.wav");
    EXPECT_EQ(r.line(2).bitmapFile, "pic.bmp");
    EXPECT_EQ(r.line(2).fontName, "Liberation Sans");
    EXPECT_EQ(r.pageNumber, "004");
}

TEST(PageRecord, StoredLengthBeyondCapacityIsCappedNotOverread)
{
    RecordBytes b{};
    b[65] = 200;   // Text1 claims 200 characters in an 80-character field
    for (int i = 0; i < 81; ++i)
        b[static_cast<std::size_t>(66 + i)] = 'a';
    b[1686] = 255; // PageNumber claims 255 characters in a 3-character field
    const PageRecord r = decodePageRecord(b);
    EXPECT_EQ(r.line(1).text.size(), 80);
    EXPECT_EQ(r.pageNumber.size(), 3);
}

TEST(PageRecord, PathPointsAreXThenYInEachSlot)
{
    RecordBytes b{};
    // Line 2 OUT path, slot 999: offset 13708 + 4 * 999.
    const int at = 13708 + 4 * 999;
    b[static_cast<std::size_t>(at)] = 0x34;
    b[static_cast<std::size_t>(at + 1)] = 0x12;
    b[static_cast<std::size_t>(at + 2)] = 0xFF;
    b[static_cast<std::size_t>(at + 3)] = 0xFF;
    b[1700] = 9;   // line 1 IN path slot 0, x
    const PageRecord r = decodePageRecord(b);
    EXPECT_EQ(r.line(2).outPath[999], (PathPoint{0x1234, 0xFFFF}));
    EXPECT_EQ(r.line(1).inPath[0], (PathPoint{9, 0}));
}

TEST(PageRecord, EncodeCutsTextsToCapacityAndZeroesReserved)
{
    RecordBytes b;
    b.fill(0xAA);
    PageRecord r;
    r.line(1).text = QString(100, u'x');
    r.line(1).fontName = QString(300, u'f');
    r.pageNumber = "12345";
    r.line(2).text = QString::fromUtf8("\u4E2D\U0001F600e");   // not in the code page
    encodePageRecord(r, b);
    EXPECT_EQ(b[65], 80);
    EXPECT_EQ(b[915], 255);
    EXPECT_EQ(b[1686], 3);
    EXPECT_EQ(b[146], 3);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&b[147]), 3), "??e");
    for (int i = 316; i < 322; ++i)
        EXPECT_EQ(b[static_cast<std::size_t>(i)], 0) << i;
    for (int i = 323; i < 326; ++i)
        EXPECT_EQ(b[static_cast<std::size_t>(i)], 0) << i;
    // Carried-over bytes are left as they were.
    EXPECT_EQ(b[0], 0xAA);
    EXPECT_EQ(b[64], 0xAA);
    EXPECT_EQ(b[326], 0xAA);
    EXPECT_EQ(b[327], 0xAA);
    EXPECT_EQ(b[1690], 0xAA);
    EXPECT_EQ(b[1691], 0xAA);
}

TEST(PageRecord, WorkspaceRoundTripTrimsAndClamps)
{
    Workspace ws;
    ws.page.line(1).text = "  Hello\t";
    ws.page.line(2).text = QString(90, u'y');
    ws.page.line(3).bitmapFile = "/x/pic.bmp";
    ws.page.line(1).inDir = 11;
    ws.page.line(2).outDir = 255;   // low byte -1
    ws.page.line(3).fontStyle = 2;
    ws.page.fadeDelay = 70000;      // low 16 bits
    ws.page.mpause = true;
    ws.stage.restOf(2) = {-5, 700};
    ws.stage.inPath(1).count = 2;
    ws.stage.inPath(1).points[2] = {10, 20};
    ws.stage.outPath(3).count = 5000;
    RecordBytes b{};
    encodePageRecord(recordFromWorkspace(ws, "007"), b);
    const PageRecord r = decodePageRecord(b);
    EXPECT_EQ(r.line(1).fontSizeCopy, ws.page.line(1).fontSize);
    EXPECT_EQ(r.line(3).outPathCount, 999);

    Workspace loaded;
    applyRecordToWorkspace(r, loaded);
    refreshDerivedFields(loaded.page);
    EXPECT_EQ(loaded.page.line(1).text, "Hello");
    EXPECT_EQ(loaded.page.line(2).text, QString(80, u'y'));
    EXPECT_EQ(loaded.page.line(2).outDir, -1);
    EXPECT_EQ(loaded.page.line(3).fontStyle, 2);
    EXPECT_EQ(loaded.page.fadeDelay, 70000 & 0xFFFF);
    EXPECT_TRUE(loaded.page.mpause);
    EXPECT_EQ(loaded.stage.restOf(2), (Point{-5, 700}));
    EXPECT_EQ(loaded.stage.inPath(1).points[2], (PathPoint{10, 20}));
    EXPECT_TRUE(loaded.page.line(1).inPathOn);
    EXPECT_TRUE(loaded.page.line(3).titleValid);
    EXPECT_FALSE(loaded.page.line(3).inPathOn);
}

TEST(PageRecord, StoredPathCountsAreClampedIntoRange)
{
    RecordBytes b{};
    putU32(b, 1692, 5000);
    putU32(b, 1696, static_cast<std::uint32_t>(-7));
    Workspace ws;
    applyRecordToWorkspace(decodePageRecord(b), ws);
    EXPECT_EQ(ws.stage.inPath(1).count, 999);
    EXPECT_EQ(ws.stage.outPath(1).count, -1);
}

TEST(PageRecord, BlanksAndControlsStoredInFileAreTrimmedOnLoad)
{
    RecordBytes b{};
    putString(b, 65, "\x01  Title \x1f");
    putString(b, 340, " a.wav ");
    putString(b, 583, "\tb.bmp");
    Workspace ws;
    applyRecordToWorkspace(decodePageRecord(b), ws);
    EXPECT_EQ(ws.page.line(1).text, "Title");
    EXPECT_EQ(ws.page.line(1).waveFile, "a.wav");
    EXPECT_EQ(ws.page.line(1).bitmapFile, "b.bmp");
}

TEST(Windows1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    const QString text = decodeWindows1252(all);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    EXPECT_EQ(encodeWindows1252(text), all);
    EXPECT_EQ(encodeWindows1252(QString::fromUtf8("\u0100\u2122")), QByteArray("?\x99"));
}

TEST(PageRecord, RandomAndMutatedRecordsDecodeAndReencode)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    RecordBytes b{};
    for (int round = 0; round < 200; ++round) {
        if (round % 2 == 0) {
            for (auto& x : b)
                x = static_cast<std::uint8_t>(byte(random));
        } else {
            for (int i = 0; i < 64; ++i)
                b[static_cast<std::size_t>(random() % kRecordSize)] = 0xFF;
        }
        Workspace ws;
        applyRecordToWorkspace(decodePageRecord(b), ws);
        refreshDerivedFields(ws.page);
        for (int k = 1; k <= kLineCount; ++k) {
            ASSERT_GE(ws.stage.inPath(k).count, -1);
            ASSERT_LE(ws.stage.inPath(k).count, 999);
            ASSERT_LE(ws.page.line(k).text.size(), 80);
        }
        RecordBytes again = b;
        encodePageRecord(recordFromWorkspace(ws, "000"), again);
        Workspace second;
        applyRecordToWorkspace(decodePageRecord(again), second);
        for (int k = 1; k <= kLineCount; ++k)
            ASSERT_EQ(second.page.line(k).fontName, ws.page.line(k).fontName);
    }
}

} // namespace
} // namespace lumavo
