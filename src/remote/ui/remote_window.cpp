#include "remote/ui/remote_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lumavo {

QStringList externalAddresses()
{
    QStringList found;
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            found << address.toString();
    return found;
}

RemoteControlWindow::RemoteControlWindow(const RemoteSettings& settings, int listeningPort, const QString& problem,
                                         QWidget* parent)
    : QDialog(parent), listeningPort_(listeningPort), problem_(problem)
{
    setObjectName(QStringLiteral("RemoteControlWindow"));
    setWindowTitle(QStringLiteral("Remote Control"));
    auto* layout = new QVBoxLayout(this);
    enabled_ = new QCheckBox(QStringLiteral("Remote control on (HTTP, WebSocket and OSC)"), this);
    enabled_->setObjectName(QStringLiteral("RemoteOnBox"));
    enabled_->setChecked(settings.enabled);
    layout->addWidget(enabled_);

    auto* form = new QFormLayout;
    port_ = new QSpinBox(this);
    port_->setObjectName(QStringLiteral("RemotePortBox"));
    port_->setRange(1, 65535);
    port_->setValue(settings.port);
    form->addRow(QStringLiteral("Port (TCP and UDP):"), port_);
    allowOthers_ = new QCheckBox(QStringLiteral("Allow other computers (every request then carries the token)"), this);
    allowOthers_->setObjectName(QStringLiteral("AllowOthersBox"));
    allowOthers_->setChecked(settings.allowOthers);
    form->addRow(allowOthers_);
    auto* tokenRow = new QHBoxLayout;
    token_ = new QLineEdit(settings.token, this);
    token_->setObjectName(QStringLiteral("TokenEdit"));
    token_->setReadOnly(true);
    auto* newToken = new QPushButton(QStringLiteral("New Token"), this);
    newToken->setObjectName(QStringLiteral("NewTokenButton"));
    tokenRow->addWidget(token_, 1);
    tokenRow->addWidget(newToken);
    form->addRow(QStringLiteral("Token:"), tokenRow);
    feedback_ = new QLineEdit(settings.feedback, this);
    feedback_->setObjectName(QStringLiteral("FeedbackEdit"));
    feedback_->setPlaceholderText(QStringLiteral("host:port for /lumavo/onair, e.g. 127.0.0.1:12321"));
    form->addRow(QStringLiteral("OSC feedback to:"), feedback_);
    layout->addLayout(form);

    address_ = new QLabel(this);
    address_->setObjectName(QStringLiteral("AddressLabel"));
    address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    address_->setWordWrap(true);
    layout->addWidget(address_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(newToken, &QPushButton::clicked, this, [this] {
        token_->setText(newRemoteToken());
        refresh();
    });
    for (QCheckBox* box : {enabled_, allowOthers_})
        connect(box, &QCheckBox::toggled, this, &RemoteControlWindow::refresh);
    connect(port_, &QSpinBox::valueChanged, this, &RemoteControlWindow::refresh);
    refresh();
}

RemoteSettings RemoteControlWindow::settings() const
{
    RemoteSettings chosen;
    chosen.enabled = enabled_->isChecked();
    chosen.port = port_->value();
    chosen.allowOthers = allowOthers_->isChecked();
    chosen.token = token_->text();
    if (chosen.allowOthers && chosen.token.isEmpty())
        chosen.token = newRemoteToken();
    chosen.feedback = feedback_->text().trimmed();
    return chosen;
}

QString RemoteControlWindow::addressText() const { return address_->text(); }

void RemoteControlWindow::refresh()
{
    if (allowOthers_->isChecked() && token_->text().isEmpty())
        token_->setText(newRemoteToken());
    const int port = port_->value();
    QString text;
    if (!enabled_->isChecked()) {
        text = QStringLiteral("Remote control is off: nothing listens.");
    } else {
        QStringList hosts{QStringLiteral("127.0.0.1")};
        if (allowOthers_->isChecked())
            hosts << externalAddresses();
        for (const QString& host : hosts)
            text += QStringLiteral("http://%1:%2/api/status   OSC: udp %1:%2\n").arg(host).arg(port);
        if (allowOthers_->isChecked())
            text += QStringLiteral("Header: Authorization: Bearer %1\n").arg(token_->text());
        if (listeningPort_ == 0 || listeningPort_ != port)
            text += QStringLiteral("(listens from OK)");
    }
    if (!problem_.isEmpty())
        text += QStringLiteral("\n") + problem_;
    address_->setText(text.trimmed());
}

} // namespace lumavo
