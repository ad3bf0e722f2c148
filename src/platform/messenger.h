#pragma once

#include <QString>

// Every message box of the program goes through this interface, so the data
// layer can report failures and tests can read what the user would see.
class Messenger {
public:
    enum class Icon { Information, Warning, Error, Question, NoIcon };

    virtual ~Messenger() = default;
    virtual void show(Icon icon, const QString& title, const QString& text) = 0;
    // A Yes/No question with the question icon; true for Yes.
    virtual bool ask(const QString& title, const QString& text) = 0;
};
