#pragma once

#include "platform/messenger.h"

class QTextStream;

// Messages of the command line as lines: information on standard output, the rest on
// standard error; a question is answered No, as nobody is there to answer it.
class StreamMessenger final : public Messenger {
public:
    StreamMessenger(QTextStream& out, QTextStream& err);
    void show(Icon icon, const QString& title, const QString& text) override;
    bool ask(const QString& title, const QString& text) override;
    // Whether anything but information was shown.
    bool failed() const { return m_failed; }

private:
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_failed = false;
};
