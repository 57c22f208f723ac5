#pragma once

#include "scripted_prompter.h"
#include "storage/page_record.h"
#include "storage/project.h"
#include "storage/workspace.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>

namespace lumavo::test {

// A workspace whose project SHOW.TLP lives in a fresh directory.
class StorageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        ws->project.projectDir = dir.dirWithSeparator();
        ws->project.projectName = "SHOW.TLP";
    }

    QString page(const QString& number) const { return dir.file("SHOW." + number); }

    // A page file whose Text1 names the page, so moved files can be recognised.
    void makePage(const QString& number, const QString& name = {})
    {
        PageRecord r;
        r.line(1).text = "page " + number;
        RecordBytes b{};
        encodePageRecord(r, b);
        const QString path = name.isEmpty() ? page(number) : dir.file(name);
        ASSERT_TRUE(writeAll(path, QByteArray(reinterpret_cast<const char*>(b.data()), kRecordSize)));
    }

    QString text1Of(const QString& path) const
    {
        const QByteArray bytes = readAll(path);
        if (bytes.size() < kRecordSize)
            return "<missing>";
        RecordBytes b;
        std::copy(bytes.begin(), bytes.begin() + kRecordSize, b.begin());
        return decodePageRecord(b).line(1).text;
    }

    TempDir dir;
    std::unique_ptr<Workspace> ws;
    ScriptedPrompter prompter;
};

} // namespace lumavo::test
