// Text and names in any script are kept whole beside the classic page record.
#include "storage/page_extension.h"

#include "storage/file_lookup.h"
#include "storage/page_commands.h"
#include "storage/page_file.h"
#include "storage_fixture.h"

#include <QDir>

namespace lumavo {
namespace {

using test::readAll;
using test::writeAll;

const QString kGreek = QString::fromUtf8("Καλησπέρα Αθήνα");
const QString kCyrillic = QString::fromUtf8("Добрый вечер");
const QString kArabic = QString::fromUtf8("مساء الخير 2024");
const QString kJapanese = QString::fromUtf8("東京の夜");
const QString kPolish = QString::fromUtf8("Łukasz Dvořák Ștefan");

class PageExtensionTest : public test::StorageFixture {
protected:
    void load(const QString& number)
    {
        ws->project.pageNow = number;
        const LoadPageOutcome loaded = LoadPage(*ws, ws->project.projectName, number);
        showNotices(prompter, loaded.notices);   // as the window does
        ASSERT_TRUE(loaded.loaded);
    }
    void save(const QString& number)
    {
        ws->project.pageNow = number;
        ASSERT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Saved);
    }
    QString ext(const QString& number) const { return pageExtensionPath(page(number)); }
    PageRecord recordOf(const QString& number) const
    {
        const QByteArray bytes = readAll(page(number));
        RecordBytes b{};
        std::copy(bytes.begin(), bytes.begin() + kRecordSize, b.begin());
        return decodePageRecord(b);
    }
};

TEST_F(PageExtensionTest, EveryScriptSurvivesSaveAndLoadWhileThePageFileStaysClassic)
{
    ws->page.line(1).text = kGreek + u' ' + kCyrillic;
    ws->page.line(2).text = kArabic;
    ws->page.line(3).text = kJapanese;
    ws->page.line(3).fontName = QString::fromUtf8("游ゴシック");
    ws->page.line(1).bitmapFile = QString::fromUtf8("Εικόνες/λογότυπο.bmp");
    ws->page.line(2).waveFile = kPolish + ".wav";
    ws->page.line(2).outlineWidth = 3;
    ws->page.line(2).outlineColor = 0x0000FF;
    save("000");

    EXPECT_EQ(readAll(page("000")).size(), kRecordSize);
    const PageRecord stored = recordOf("000");
    EXPECT_EQ(stored.line(3).text, "????");
    EXPECT_EQ(stored.line(2).waveFile, QString::fromUtf8("?ukasz Dvo?ák ?tefan.wav"));
    EXPECT_EQ(stored.line(2).text, QString::fromUtf8("???? ????? 2024"));
    EXPECT_TRUE(prompter.messages.empty()) << "nothing is lost, so nothing is said";

    Workspace saved = *ws;
    ws->page = PageFields{};
    load("000");
    for (int k = 1; k <= kLineCount; ++k) {
        EXPECT_EQ(ws->page.line(k).text, saved.page.line(k).text);
        EXPECT_EQ(ws->page.line(k).fontName, saved.page.line(k).fontName);
        EXPECT_EQ(ws->page.line(k).bitmapFile, saved.page.line(k).bitmapFile);
        EXPECT_EQ(ws->page.line(k).waveFile, saved.page.line(k).waveFile);
    }
    EXPECT_EQ(ws->page.line(2).outlineWidth, 3);
    EXPECT_EQ(ws->page.line(2).outlineColor, 0x0000FFu);

    // Back to Windows-1252 only: the extension goes, and the file is what the classic titler wrote.
    for (TitleLine& line : ws->page.lines)
        line = TitleLine{};
    ws->page.line(1).text = "Caf\u00e9";
    save("000");
    EXPECT_FALSE(QFile::exists(ext("000")));
}

TEST_F(PageExtensionTest, AFieldChangedElsewhereWinsOverTheStaleExtension)
{
    ws->page.line(1).text = kGreek;
    ws->page.line(2).text = kJapanese;
    save("000");
    // The classic titler rewrites line 1; line 2 still holds the "?" form of its text.
    PageRecord edited = recordOf("000");
    edited.line(1).text = "Good evening";
    RecordBytes bytes{};
    encodePageRecord(edited, bytes);
    ASSERT_TRUE(writeAll(page("000"), QByteArray(reinterpret_cast<const char*>(bytes.data()), kRecordSize)));

    load("000");
    EXPECT_EQ(ws->page.line(1).text, "Good evening");
    EXPECT_EQ(ws->page.line(2).text, kJapanese);

    // A garbled extension is named, and the page loads as its record holds it.
    ASSERT_TRUE(writeAll(ext("000"), "{\"format\": \"lumavo-page-extension\", \"line2\": {\"text\": 5}"));
    load("000");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains(ext("000"))) << qPrintable(prompter.messages[0].text);
    EXPECT_EQ(ws->page.line(2).text, "????");
}

TEST_F(PageExtensionTest, DeleteAndRenumberCarryEachExtensionWithItsPage)
{
    for (int n = 0; n < 4; ++n) {
        ws->page.line(1).text = n % 3 == 0 ? QStringLiteral("plain %1").arg(n) : kGreek + QString::number(n);
        ws->editor.newPagePending = n > 0;
        save(pageNumberText(n));
    }
    ASSERT_TRUE(QFile::exists(ext("001")) && QFile::exists(ext("002")) && !QFile::exists(ext("003")));
    ASSERT_TRUE(writeAll(ext("009"), "stray"));

    load("001");
    prompter.answers.push_back(Answer::Yes);
    ASSERT_TRUE(deletePage(*ws, prompter).removed);
    EXPECT_EQ(ws->page.line(1).text, kGreek + "2");   // page 002 moved down with its extension
    EXPECT_FALSE(QFile::exists(ext("002"))) << "page 003 moved into 002 without an extension";
    EXPECT_FALSE(QFile::exists(ext("003")));
    EXPECT_EQ(lastPageNumber(dir.dirWithSeparator(), "SHOW"), "002") << "a stray extension is no page";

    // A copy saved under a new number gets its own extension.
    copyPage(*ws);
    save("001");
    EXPECT_EQ(ws->project.pageNow, "003");
    load("003");
    EXPECT_EQ(ws->page.line(1).text, kGreek + "2");
}

TEST_F(PageExtensionTest, NamesAreKeptRelativeToTheProjectAndNeverLookedUpInTheWorkingFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath("art"));
    ASSERT_TRUE(writeAll(dir.file("art/logo.bmp"), "x"));
    EXPECT_EQ(storableFileName(dir.file("art/logo.bmp"), dir.dirWithSeparator()).name, "art/logo.bmp");
    EXPECT_EQ(storableFileName("/elsewhere/a.wav", dir.dirWithSeparator()).name, "/elsewhere/a.wav");
    const StoredName refused = storableFileName("/x/bad\nname.wav", dir.dirWithSeparator());
    EXPECT_TRUE(refused.error.contains("control character")) << qPrintable(refused.error);

    // The same relative name in the folder the program runs in is not the project's file.
    test::TempDir other;
    ASSERT_TRUE(QDir(other.path()).mkpath("art"));
    ASSERT_TRUE(writeAll(other.file("art/logo.bmp"), "y"));
    const QString start = QDir::currentPath();
    QDir::setCurrent(other.path());
    const QString inProject = resolveStoredPath("art/logo.bmp", dir.dirWithSeparator());
    const QString withoutProject = resolveStoredPath("art/logo.bmp", QString());
    QDir::setCurrent(start);
    EXPECT_EQ(QFileInfo(inProject).canonicalFilePath(), QFileInfo(dir.file("art/logo.bmp")).canonicalFilePath());
    EXPECT_TRUE(withoutProject.isEmpty());

    // A name longer than the record holds is kept whole; saving makes it relative.
    const QString longName = dir.file(QString(100, u'n') + ".bmp");
    ws->page.line(1).bitmapFile = longName;
    save("000");
    load("000");
    EXPECT_EQ(ws->page.line(1).bitmapFile, QString(100, u'n') + ".bmp");
}

TEST_F(PageExtensionTest, CharactersNoFileCanHoldAskBeforeSavingAndCancelKeepsThePageUnsaved)
{
    ws->page.line(1).text = QString(QChar(0xD800)) + "x";
    ws->editor.pageModified = true;
    ws->project.pageNow = "000";
    EXPECT_EQ(SavePage(*ws, prompter).status, SavePageStatus::Cancelled);
    ASSERT_EQ(prompter.confirmations.size(), 1u);
    EXPECT_FALSE(QFile::exists(page("000")));
    EXPECT_TRUE(ws->editor.pageModified);
    prompter.answers.push_back(Answer::Yes);   // "Save current page?", then Cancel
    EXPECT_FALSE(offerToSaveCurrentPage(*ws, prompter, true).goOn) << "a cancelled save stops the command";
}

} // namespace
} // namespace lumavo
