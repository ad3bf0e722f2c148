#pragma once

#include <QUrl>

// The desktop's "open" request: a mailto: address opens a new message in the mail
// program, a web address the browser. The about box uses it; tests record the URLs.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    // Whether anything opened is not reported: without a mail program or a browser
    // nothing further happens.
    virtual void open(const QUrl& url) = 0;
};
