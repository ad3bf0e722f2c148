#pragma once

#include <QValidator>

// Accepts only texts the data file's code page can hold, so nothing typed or
// pasted is silently replaced when it is saved.
class Cp1250Validator final : public QValidator {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Cp1250Validator)

public:
    explicit Cp1250Validator(QObject* parent = nullptr);
    State validate(QString& input, int& position) const override;
};
