#include "export/publish_dialog.h"

#include "calendar/day_table.h"
#include "export/publishing.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "platform/parts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace {
QLineEdit* edit(const QString& name, const QString& text, QWidget* parent)
{
    auto* line = new QLineEdit(text, parent);
    line->setObjectName(name);
    return line;
}

// Holds the messages of a run until its progress dialog is gone; questions go through at once.
class AfterProgress final : public Messenger {
public:
    explicit AfterProgress(Messenger& messenger)
        : m_messenger(messenger)
    {
    }
    void show(Icon icon, const QString& title, const QString& text) override
    {
        m_held.push_back({ icon, title, text });
    }
    bool ask(const QString& title, const QString& text) override { return m_messenger.ask(title, text); }
    void release()
    {
        for (const auto& [icon, title, text] : std::exchange(m_held, {}))
            m_messenger.show(icon, title, text);
    }

private:
    struct Held {
        Icon icon;
        QString title;
        QString text;
    };
    Messenger& m_messenger;
    std::vector<Held> m_held;
};
} // namespace

Tpublikovat::Tpublikovat(
    const publish_state::Address& address, const QString& password, bool storeAvailable, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tpublikovat"));
    setWindowTitle(publishing::kTitle);

    m_address = edit(QStringLiteral("Adresa"), address.collection, this);
    m_address->setPlaceholderText(QStringLiteral("https://server/calendars/jmeno/kalendar/"));
    m_address->setMinimumWidth(360);
    m_user = edit(QStringLiteral("Jmeno"), address.user, this);
    m_password = edit(QStringLiteral("Heslo"), password, this);
    m_password->setEchoMode(QLineEdit::Password);
    m_remember = new QCheckBox(storeAvailable ? QStringLiteral("Zapamatovat si adresu, jméno a heslo")
                                              : QStringLiteral("Zapamatovat si adresu a jméno"),
        this);
    m_remember->setObjectName(QStringLiteral("Zapamatovat"));
    m_remember->setChecked(!address.collection.isEmpty());

    auto* form = new QFormLayout;
    const std::pair<QString, QLineEdit*> rows[] = { { QStringLiteral("Adresa kalendáře:"), m_address },
        { QStringLiteral("Uživatelské jméno:"), m_user }, { QStringLiteral("Heslo:"), m_password } };
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    }

    auto* buttons = new QDialogButtonBox(this);
    m_publish = buttons->addButton(QStringLiteral("Publikovat"), QDialogButtonBox::AcceptRole);
    m_publish->setObjectName(QStringLiteral("Button1"));
    m_publish->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Zrušit"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(m_publish, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_address, &QLineEdit::textChanged, this, &Tpublikovat::updateButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_remember);
    if (!storeAvailable) {
        auto* note = new QLabel(QStringLiteral("Úložiště hesel není k dispozici: heslo se zadává při každém "
                                               "publikování a nikam se neukládá."),
            this);
        note->setObjectName(QStringLiteral("BezUloziste"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    layout->addWidget(buttons);
    updateButton();
    (address.collection.isEmpty() ? m_address : m_password)->setFocus();
}

publish_state::Address Tpublikovat::address() const
{
    return { m_address->text().trimmed(), m_user->text().trimmed() };
}

QString Tpublikovat::password() const
{
    return m_password->text();
}

bool Tpublikovat::remember() const
{
    return m_remember->isChecked();
}

void Tpublikovat::updateButton()
{
    m_publish->setEnabled(!m_address->text().trimmed().isEmpty());
}

void publishFromWindow(QWidget* parent, const QString& dir, const DayTable& table, const Settings& settings,
    Messenger& messenger)
{
    QString error;
    auto* part = parts::load<PublishPart>(publishing::kPart, &error);
    if (!part) {
        messenger.show(Messenger::Icon::Error, publishing::kTitle, error);
        return;
    }
    const publish_state::Address stored = publish_state::readAddress(dir);
    QString password;
    const publish::Store store
        = part->readPassword(publishing::passwordKey(stored.collection, stored.user), password, error);
    Tpublikovat dialog(stored, password, store != publish::Store::Unavailable, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const publish_state::Address address = dialog.address();
    if (dialog.remember()) {
        if (!publish_state::writeAddress(dir, address, settings))
            messenger.show(Messenger::Icon::Warning, publishing::kTitle,
                QStringLiteral("Adresu a jméno nelze uložit do souboru nastavení."));
        if (store != publish::Store::Unavailable
            && part->writePassword(
                   publishing::passwordKey(address.collection, address.user), dialog.password(), error)
                != publish::Store::Ok)
            messenger.show(Messenger::Icon::Warning, publishing::kTitle,
                QStringLiteral("Heslo nelze uložit do úložiště hesel: %1").arg(error));
    }

    QProgressDialog progress(
        QStringLiteral("Publikuji akce na server..."), QStringLiteral("Zrušit"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("Prubeh"));
    progress.setWindowTitle(publishing::kTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [part] { part->cancel(); });
    AfterProgress held(messenger);
    publishing::publish(*part,
        { dir, table.records(), settings,
            { publishing::collectionUrl(address.collection), address.user, dialog.password() },
            clock_source::now() },
        held, [&progress](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
        });
    progress.close();
    held.release();
}
