#include "storage/page_file.h"

#include "storage/file_lookup.h"
#include "storage/page_extension.h"
#include "storage/page_edits.h"
#include "storage/project.h"

#include "platform/atomic_file.h"

#include <QFileInfo>
#include <cstring>

namespace lumavo {

PageReadStatus readPageFile(const QString& path, RecordBytes& out)
{
    // Only the first record is read, so a huge file or a device costs nothing; pipes and devices
    // are refused without blocking.
    QByteArray bytes;
    if (!readRegularFile(path, kRecordSize, bytes, true).ok)
        return PageReadStatus::CannotOpen;
    if (bytes.size() < kRecordSize)
        return PageReadStatus::TooShort;
    std::memcpy(out.data(), bytes.constData(), kRecordSize);
    return PageReadStatus::Ok;
}

IoResult writePageFile(const QString& path, const RecordBytes& bytes, bool startEmpty)
{
    QByteArray tail;
    if (!startEmpty && QFileInfo(path).size() > kRecordSize) {
        QByteArray old;
        const Result read = readRegularFile(path, kMaxPageFileBytes, old);
        if (!read.ok)
            return read;
        tail = old.mid(kRecordSize);
    }
    const QByteArrayView record(reinterpret_cast<const char*>(bytes.data()), kRecordSize);
    return writeFileAtomically(path, {record, tail});
}

IoResult writePageAndExtension(const QString& path, const RecordBytes& bytes, bool startEmpty,
                               const PageExtension& extension, Result* leftOver)
{
    // The extension goes first: a new record beside the previous extension could take the old
    // texts for its own where both have the same Windows-1252 form.
    if (!extension.isEmpty()) {
        const Result written = writePageExtension(path, extension);
        if (!written.ok)
            return written;
    }
    const IoResult written = writePageFile(path, bytes, startEmpty);
    if (written.ok && extension.isEmpty())
        *leftOver = removePageExtension(path);
    return written;
}

LoadPageOutcome LoadPage(Workspace& ws, const QString& projectName, const QString& pageNumber)
{
    LoadPageOutcome outcome;
    ws.editor.pageLoaded = false;
    const QString base = StripTLP(projectName);
    const QString& dir = ws.project.projectDir;
    // A missing page changes nothing: the page held stays, with its edits.
    if (!pageExists(dir, base, pageNumber))
        return outcome;
    ws.editor.newPagePending = false;
    ws.status.panel[2] = QStringLiteral("Current");

    QString path = findPageFile(dir, base, ws.project.pageNow);
    if (path.isEmpty()) {
        outcome.notices.push_back(Result::failure(
            QStringLiteral("Error opening file (I Cant find it) ") + pageFilePath(dir, base, ws.project.pageNow),
            MessageIcon::Information));
        return outcome;
    }
    // Read into a scratch record so that a failed read leaves the record buffer as it was.
    RecordBytes scratch;
    if (readPageFile(path, scratch) != PageReadStatus::Ok) {
        outcome.notices.push_back(Result::failure(
            QStringLiteral("Error opening (possible older file structure) ") + path, MessageIcon::Information));
        return outcome;
    }
    ws.recordBuffer = scratch;
    ws.editor.pageLoaded = true;
    ws.project.pageIndex = pageNumber.toInt();
    PageRecord record = decodePageRecord(ws.recordBuffer);
    const ExtensionRead extension = readPageExtension(path);
    if (extension.status == ExtensionReadStatus::Garbled)
        outcome.notices.push_back(Result::failure(garbledExtensionMessage(extension), MessageIcon::Warning));
    mergeExtension(extension.extension, record);
    applyRecordToWorkspace(record, ws);
    applyExtensionStyles(extension.extension, ws);
    refreshDerivedFields(ws.page);
    pageReplaced(ws);
    outcome.loaded = true;
    return outcome;
}

SavePageOutcome SavePage(Workspace& ws, Prompter& prompter)
{
    SavePageOutcome outcome;
    ProjectState& project = ws.project;
    if (project.projectName.isEmpty())
        return outcome;
    const QString base = StripTLP(project.projectName);
    if (base.isEmpty()) {
        outcome.notices.push_back(
            Result::failure(QStringLiteral("Open a Project or Save this project first."), MessageIcon::Information));
        outcome.status = SavePageStatus::NoBaseName;
        return outcome;
    }
    if (project.pageNow.isEmpty())
        project.pageNow = QStringLiteral("000");
    const bool fresh = ws.editor.newPagePending;
    QString number = project.pageNow;
    if (fresh) {
        const auto next = GetNextPageNumber(ws, base);
        if (!next) {
            // Falling back to pageNow would write the new page over an existing one.
            outcome.notices.push_back(Result::failure(kProjectFullMessage));
            outcome.status = SavePageStatus::ProjectFull;
            return outcome;
        }
        number = *next;
    }
    number = number.left(3);
    outcome.pageNumber = number;

    QString path = findPageFile(project.projectDir, base, number);
    if (path.isEmpty())
        path = pageFilePath(project.projectDir, base, number);
    outcome.path = path;

    for (TitleLine& line : ws.page.lines) {
        line.bitmapFile = nameRelativeToProject(line.bitmapFile, project.projectDir);
        line.waveFile = nameRelativeToProject(line.waveFile, project.projectDir);
    }
    RecordBytes record = ws.recordBuffer;
    const PageRecord fields = recordFromWorkspace(ws, number);
    const QString lost = describeUnstorableText(fields);
    if (!lost.isEmpty() &&
        prompter.confirm(QStringLiteral("These characters cannot be saved and would become \"?\":\n") + lost +
                             QStringLiteral("\nSave the page anyway?"),
                         true, MessageIcon::Warning) != Answer::Yes) {
        outcome.status = SavePageStatus::Cancelled;
        return outcome;
    }
    encodePageRecord(fields, record);
    Result leftOver;
    const IoResult written = writePageAndExtension(path, record, fresh, extensionForPage(ws, fields), &leftOver);
    if (!leftOver.ok)
        outcome.notices.push_back(Result::failure(leftOver.error, MessageIcon::Warning));
    if (!written.ok) {
        // The page stays unsaved (pageModified, newPagePending kept) so it is offered again.
        outcome.notices.push_back(Result::failure(QStringLiteral("Can not Save this page for ") + path +
                                                  QStringLiteral(" Project. ") + written.error));
        outcome.status = SavePageStatus::WriteFailed;
        return outcome;
    }
    ws.recordBuffer = record;
    ShowProjectLabel(ws, project.projectName, number);
    ws.editor.newPagePending = false;
    // The page just written becomes the current page, so the next save goes to it again.
    project.pageNow = number;
    project.pageIndex = number.toInt();
    pageSaved(ws);
    outcome.status = SavePageStatus::Saved;
    return outcome;
}

} // namespace lumavo
