#include "recording_messenger.h"

#include <QStringList>

void RecordingMessenger::show(Icon icon, const QString& title, const QString& text)
{
    m_messages.append({ icon, title, text });
}

bool RecordingMessenger::ask(const QString& title, const QString& text)
{
    m_messages.append({ Icon::Question, title, text });
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

QStringList RecordingMessenger::texts() const
{
    QStringList all;
    for (const Message& message : m_messages)
        all << message.text;
    return all;
}
