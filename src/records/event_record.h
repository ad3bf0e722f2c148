#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <type_traits>

// One length-prefixed field of a record: a length byte and room for Capacity bytes
// of Windows-1250 text. The bytes after the text are kept zero.
template <int Capacity>
struct ShortText {
    static constexpr int capacity = Capacity;
    std::uint8_t length;
    char bytes[Capacity];
};

// One row of the day table as it is stored in data.zrk: 135 bytes, six fields back
// to back. A day row has a day name and a date; an extra row has neither and
// belongs to the nearest day row above it.
struct EventRecord {
    enum class Field { DayName, Date, Time, Event, Value1, Value2 };
    static constexpr int fieldCount = 6;

    ShortText<7> dayName;
    ShortText<10> date;
    ShortText<12> time;
    ShortText<40> event;
    ShortText<30> value1;
    ShortText<30> value2;

    // A record with every field empty and every byte zero.
    static EventRecord blank();
    static EventRecord dayRow(const QString& dayName, const QString& date);

    static int capacity(Field field);

    QString text(Field field) const;
    // Stores the text truncated to the field's capacity.
    void setText(Field field, const QString& text);
    // Stores Windows-1250 bytes as they are, truncated to the field's capacity.
    void setBytes(Field field, QByteArrayView bytes);
    // The stored bytes; a length byte above the capacity (a damaged file) is clamped.
    QByteArray bytes(Field field) const;
    QByteArrayView view(Field field) const;
    bool isEmpty(Field field) const { return view(field).isEmpty(); }
    // Empty or only blanks (spaces, tabs, line breaks, no-break spaces): what reads as empty.
    bool isBlank(Field field) const;
    // Time, event text and both values are blank: the row carries no event of the user's.
    bool holdsNoEvent() const;

    bool isDayRow() const { return !isEmpty(Field::DayName); }
    bool hasEvent() const { return !isEmpty(Field::Time) || !isEmpty(Field::Event); }

    // Same texts in every field; the bytes after the texts do not count.
    bool operator==(const EventRecord& other) const;
};

static_assert(sizeof(EventRecord) == 135, "data.zrk records are exactly 135 bytes");
static_assert(std::is_standard_layout_v<EventRecord> && std::is_trivially_copyable_v<EventRecord>);
static_assert(offsetof(EventRecord, date) == 8 && offsetof(EventRecord, time) == 19
    && offsetof(EventRecord, event) == 32 && offsetof(EventRecord, value1) == 73
    && offsetof(EventRecord, value2) == 104);
