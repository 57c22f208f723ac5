#pragma once

#include <QFont>
#include <QString>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace lumavo {

// Where a printed report goes: a document of sheets written with text at device positions.
// Coordinates are device units of the target, origin at the top left of its printable area, and a
// text position names the top left of the text's cell. The face and size stay in force across
// new sheets until changed.
class ReportSurface {
public:
    virtual ~ReportSurface() = default;

    // Opens the document under the job title; false (detail in error()) when the target refuses.
    virtual bool begin(const QString& jobTitle) = 0;
    // Ends the current sheet and starts the next one; the sheet number goes up by one.
    virtual void newSheet() = 0;
    // Ends the document; false (detail in error()) when it could not be completed.
    virtual bool end() = 0;

    virtual void setFontFace(const QString& face) = 0;
    virtual void setFontPointSize(int points) = 0;
    virtual QString fontFace() const = 0;
    // Height in device units of `text` in the current font (ascent + descent).
    virtual int textHeight(const QString& text) const = 0;
    virtual void writeText(int x, int y, const QString& text) = 0;

    // Size of the printable area in device units.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    // 1 on the first sheet.
    virtual int sheetNumber() const = 0;
    virtual QString error() const = 0;
};

// A surface that paints on a printer or PDF writer through QPainter. The device must outlive it.
class PainterReportSurface final : public ReportSurface {
public:
    explicit PainterReportSurface(QPagedPaintDevice& device);
    ~PainterReportSurface() override;

    bool begin(const QString& jobTitle) override;
    void newSheet() override;
    bool end() override;
    void setFontFace(const QString& face) override;
    void setFontPointSize(int points) override;
    QString fontFace() const override;
    int textHeight(const QString& text) const override;
    void writeText(int x, int y, const QString& text) override;
    int pageWidth() const override;
    int pageHeight() const override;
    int sheetNumber() const override { return sheet_; }
    QString error() const override { return error_; }

private:
    QPagedPaintDevice& device_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    int sheet_ = 1;
    QString error_;
};

// A surface that keeps every text written, for tests and measurements. Every text is
// `lineHeight` high, whatever its font.
class RecordingReportSurface final : public ReportSurface {
public:
    struct Text {
        int sheet = 1;
        int x = 0;
        int y = 0;
        QString text;
        QString face;
        int points = 0;
    };

    RecordingReportSurface(int pageWidth, int pageHeight, int lineHeight,
                           QString defaultFace = QStringLiteral("Default"));

    bool begin(const QString& jobTitle) override;
    void newSheet() override { ++sheet_; }
    bool end() override;
    void setFontFace(const QString& face) override { face_ = face; }
    void setFontPointSize(int points) override { points_ = points; }
    QString fontFace() const override { return face_; }
    int textHeight(const QString&) const override { return lineHeight_; }
    void writeText(int x, int y, const QString& text) override;
    int pageWidth() const override { return width_; }
    int pageHeight() const override { return height_; }
    int sheetNumber() const override { return sheet_; }
    QString error() const override { return {}; }

    QString jobTitle() const { return jobTitle_; }
    bool begun() const { return begun_; }
    bool ended() const { return ended_; }
    const std::vector<Text>& texts() const { return texts_; }
    // The first text written that starts with `prefix`; null when none.
    const Text* find(const QString& prefix) const;

private:
    int width_;
    int height_;
    int lineHeight_;
    QString face_;
    int points_ = 0;
    int sheet_ = 1;
    bool begun_ = false;
    bool ended_ = false;
    QString jobTitle_;
    std::vector<Text> texts_;
};

} // namespace lumavo
