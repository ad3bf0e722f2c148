#include "records/event_record.h"

#include "platform/cp1250.h"

#include <algorithm>
#include <cstring>

namespace {

struct FieldRef {
    std::uint8_t* length;
    char* bytes;
    int capacity;
};

template <int N>
FieldRef refOf(ShortText<N>& field)
{
    return { &field.length, field.bytes, N };
}

FieldRef fieldRef(EventRecord& record, EventRecord::Field field)
{
    switch (field) {
    case EventRecord::Field::DayName:
        return refOf(record.dayName);
    case EventRecord::Field::Date:
        return refOf(record.date);
    case EventRecord::Field::Time:
        return refOf(record.time);
    case EventRecord::Field::Event:
        return refOf(record.event);
    case EventRecord::Field::Value1:
        return refOf(record.value1);
    case EventRecord::Field::Value2:
        break;
    }
    return refOf(record.value2);
}

} // namespace

EventRecord EventRecord::blank()
{
    EventRecord record;
    std::memset(&record, 0, sizeof record);
    return record;
}

EventRecord EventRecord::dayRow(const QString& dayName, const QString& date)
{
    EventRecord record = blank();
    record.setText(Field::DayName, dayName);
    record.setText(Field::Date, date);
    return record;
}

int EventRecord::capacity(Field field)
{
    switch (field) {
    case Field::DayName:
        return decltype(dayName)::capacity;
    case Field::Date:
        return decltype(date)::capacity;
    case Field::Time:
        return decltype(time)::capacity;
    case Field::Event:
        return decltype(event)::capacity;
    case Field::Value1:
        return decltype(value1)::capacity;
    case Field::Value2:
        break;
    }
    return decltype(value2)::capacity;
}

QByteArrayView EventRecord::view(Field field) const
{
    const FieldRef ref = fieldRef(const_cast<EventRecord&>(*this), field);
    return QByteArrayView(ref.bytes, std::min<int>(*ref.length, ref.capacity));
}

QByteArray EventRecord::bytes(Field field) const
{
    return view(field).toByteArray();
}

QString EventRecord::text(Field field) const
{
    return cp1250::decode(view(field));
}

void EventRecord::setText(Field field, const QString& text)
{
    setBytes(field, cp1250::encode(QStringView(text).left(capacity(field))));
}

void EventRecord::setBytes(Field field, QByteArrayView bytes)
{
    const FieldRef ref = fieldRef(*this, field);
    const int length = static_cast<int>(std::min<qsizetype>(bytes.size(), ref.capacity));
    // Copy first: the source may be this very field.
    char copy[64];
    std::memcpy(copy, bytes.data(), static_cast<size_t>(length));
    std::memset(ref.bytes, 0, static_cast<size_t>(ref.capacity));
    std::memcpy(ref.bytes, copy, static_cast<size_t>(length));
    *ref.length = static_cast<std::uint8_t>(length);
}

bool EventRecord::isBlank(Field field) const
{
    for (const char byte : view(field)) {
        // 0xA0 is the no-break space of Windows-1250.
        if (byte != ' ' && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\xA0')
            return false;
    }
    return true;
}

bool EventRecord::holdsNoEvent() const
{
    return isBlank(Field::Time) && isBlank(Field::Event) && isBlank(Field::Value1) && isBlank(Field::Value2);
}

bool EventRecord::operator==(const EventRecord& other) const
{
    for (int i = 0; i < fieldCount; ++i) {
        if (view(Field(i)) != other.view(Field(i)))
            return false;
    }
    return true;
}
