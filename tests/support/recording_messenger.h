#pragma once

#include "platform/messenger.h"

#include <QList>
#include <QString>

// A messenger for tests: remembers every message and answers questions from a script.
class RecordingMessenger final : public Messenger {
public:
    struct Message {
        Icon icon;
        QString title;
        QString text;
    };

    void show(Icon icon, const QString& title, const QString& text) override;
    bool ask(const QString& title, const QString& text) override;

    // Answers for the next questions, in order; unscripted questions are answered No.
    void scriptAnswers(const QList<bool>& answers) { m_answers = answers; }

    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
    QList<bool> m_answers;
};
