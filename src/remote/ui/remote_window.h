#pragma once

#include "remote/remote_settings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace lumavo {

// Configuration > Remote Control...: switches the remote interface on and off, chooses its port
// and whether other computers may reach it (then with the token shown here), and where the on-air
// feedback goes. Shows the address show controllers use.
class RemoteControlWindow : public QDialog {
    Q_OBJECT
public:
    // `listeningPort`: the port the server listens on now, 0 when it is off; `problem`: why it
    // could not listen, if it could not.
    RemoteControlWindow(const RemoteSettings& settings, int listeningPort, const QString& problem,
                        QWidget* parent = nullptr);

    // The choices as the operator left them (a token is made when other computers are allowed).
    RemoteSettings settings() const;
    // The text of the address line.
    QString addressText() const;

private:
    void refresh();

    int listeningPort_ = 0;
    QString problem_;
    QCheckBox* enabled_ = nullptr;
    QSpinBox* port_ = nullptr;
    QCheckBox* allowOthers_ = nullptr;
    QLineEdit* token_ = nullptr;
    QLineEdit* feedback_ = nullptr;
    QLabel* address_ = nullptr;
};

// The addresses a controller on another computer can use: every IPv4 address of this machine
// that is not a loopback address.
QStringList externalAddresses();

} // namespace lumavo
