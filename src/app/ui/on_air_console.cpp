#include "app/ui/on_air_console.h"

#include "playback/ui/stage.h"
#include "storage/workspace.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace lumavo {

QAction* addWindowKey(QWidget& owner, const QKeySequence& key)
{
    auto* action = new QAction(&owner);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    owner.addAction(action);
    return action;
}

OnAirConsole::OnAirConsole(TCan& stage, const Workspace& ws, QWidget* parent)
    : QWidget(parent), stage_(stage), ws_(ws)
{
    setObjectName(QStringLiteral("OnAirConsole"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);   // one slim row: the editing controls keep their room
    auto* onAir = new QLabel(QStringLiteral("On air"), this);
    onAir->setObjectName(QStringLiteral("OnAirLabel"));
    onAir->setStyleSheet(QStringLiteral("QLabel { background: #c00000; color: white; font-weight: bold; padding: 4px 10px; }"));
    playing_ = new QLabel(this);
    playing_->setObjectName(QStringLiteral("PlayingLabel"));
    auto* continueButton = new QPushButton(QStringLiteral("Continue"), this);
    continueButton->setObjectName(QStringLiteral("ContinueButton"));
    continueButton->setFocusPolicy(Qt::NoFocus);
    auto* stopButton = new QPushButton(QStringLiteral("Stop"), this);
    stopButton->setObjectName(QStringLiteral("StopButton"));
    stopButton->setFocusPolicy(Qt::NoFocus);
    auto* cutButton = new QPushButton(QStringLiteral("Cut"), this);
    cutButton->setObjectName(QStringLiteral("CutButton"));
    cutButton->setFocusPolicy(Qt::NoFocus);
    cutButton->setToolTip(QStringLiteral("Black on every output at once (Shift+Esc)"));
    layout->addWidget(onAir);
    layout->addWidget(playing_, 1);
    layout->addWidget(continueButton);
    layout->addWidget(stopButton);
    layout->addWidget(cutButton);
    connect(continueButton, &QPushButton::clicked, this, &OnAirConsole::continuePlayback);
    connect(stopButton, &QPushButton::clicked, this, &OnAirConsole::stopPlayback);
    connect(cutButton, &QPushButton::clicked, this, &OnAirConsole::cutPlayback);

    // The keys act while the console is shown, wherever the focus is in its window.
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Right, Qt::Key_PageDown})   // clickers send the last two
        connect(addWindowKey(*this, key), &QAction::triggered, this, &OnAirConsole::continuePlayback);
    connect(addWindowKey(*this, Qt::Key_Escape), &QAction::triggered, this, &OnAirConsole::stopPlayback);
    connect(addWindowKey(*this, Qt::SHIFT | Qt::Key_Escape), &QAction::triggered, this, &OnAirConsole::cutPlayback);

    connect(&stage_, &TCan::pumping, this, &OnAirConsole::refresh);
    refresh();
}

void OnAirConsole::continuePlayback() { stage_.setspcbarpause(false); }

void OnAirConsole::stopPlayback()
{
    // A second Stop cuts, as a second Esc or click on the stage does.
    if (stage_.getkillnow() && stage_.isEnabledStage()) {
        cutPlayback();
        return;
    }
    stage_.setspcbarpause(false);
    stage_.setkillnow(true);
}

void OnAirConsole::cutPlayback()
{
    if (stage_.isEnabledStage())
        stage_.cut();
}

QString OnAirConsole::playingText() const
{
    // The line playing is the last one composed whose title is still up.
    int line = 0;
    for (int n = 1; n <= kLineCount; ++n)
        if (stage_.player().titleImage(n) != nullptr)
            line = n;
    QString text = QStringLiteral("Page %1").arg(ws_.project.pageNow.isEmpty() ? QStringLiteral("000") : ws_.project.pageNow);
    if (line > 0)
        text += QStringLiteral("   Line %1").arg(line);
    if (stage_.getspcbarpause())
        text += QStringLiteral("   (waiting for Continue)");
    return text;
}

void OnAirConsole::refresh()
{
    const QString text = playingText();
    if (playing_->text() != text)
        playing_->setText(text);
}

} // namespace lumavo
