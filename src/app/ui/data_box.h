#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace lumavo {

class LiveDataSource;

// The Data box: one row under the title lines while the project names a data file: the file,
// Previous and Next, the selected row and its values, and the columns the titles name that the
// file lacks. It stays usable during a run.
class DataBox : public QWidget {
    Q_OBJECT
public:
    DataBox(LiveDataSource& data, QWidget* parent = nullptr);

    // Shows the source's table, row and error, and `missing` (the columns named but not found).
    void refresh(const QStringList& missing);
    QString rowText() const;
    QString valuesText() const;

signals:
    void removeRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elideValues();

    LiveDataSource& data_;
    QLabel* file_ = nullptr;
    QPushButton* previous_ = nullptr;
    QLabel* row_ = nullptr;
    QPushButton* next_ = nullptr;
    QLabel* values_ = nullptr;
    QLabel* missing_ = nullptr;
};

} // namespace lumavo
