#include "export/stream_messenger.h"

#include <QTextStream>

StreamMessenger::StreamMessenger(QTextStream& out, QTextStream& err)
    : m_out(out)
    , m_err(err)
{
}

void StreamMessenger::show(Icon icon, const QString&, const QString& text)
{
    (icon == Icon::Information ? m_out : m_err) << text << Qt::endl;
    m_failed = m_failed || icon != Icon::Information;
}

bool StreamMessenger::ask(const QString&, const QString&)
{
    return false;
}
