#include "widgets/cp1250_validator.h"

#include "platform/cp1250.h"

Cp1250Validator::Cp1250Validator(QObject* parent)
    : QValidator(parent)
{
}

QValidator::State Cp1250Validator::validate(QString& input, int& /*position*/) const
{
    return cp1250::canEncode(input) ? Acceptable : Invalid;
}
