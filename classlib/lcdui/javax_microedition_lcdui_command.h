// javax_microedition_lcdui_Command (class id 84): a labelled command of type 1 to 8 with a
// priority. Invariant: a constructed Command has a non-null label and a type in 1..8; a
// constructor that refuses its arguments leaves an exception pending.
#pragma once

#include "runtime/object.h"

class String;

class javax_microedition_lcdui_Command : public Object {
public:
    static constexpr jint kMinType = 1;  // SCREEN
    static constexpr jint kMaxType = 8;  // ITEM

    javax_microedition_lcdui_Command() { setClassId(CID_javax_microedition_lcdui_Command); }

    // Slot 6.
    virtual jint getPriority();

    // Command(label, type, priority): IllegalArgumentException for a type outside 1..8, else
    // NullPointerException for a null label; the long label stays null.
    void init(String* label, jint commandType, jint priority);
    // Command(shortLabel, longLabel, type, priority): the same checks; the long label may be null.
    void init(String* shortLabel, String* longLabel, jint commandType, jint priority);

    [[nodiscard]] String* getLabel() const { return m_label; }
    [[nodiscard]] String* getLongLabel() const { return m_longLabel; }
    [[nodiscard]] jint getCommandType() const { return m_commandType; }
    // A further int of the phone's Command, kept for its callers.
    [[nodiscard]] jint getExtra() const { return m_extra; }
    void setExtra(jint value) { m_extra = value; }

    String* m_label;
    String* m_longLabel;
    jint m_commandType;
    jint m_priority;
    jint m_extra;

private:
    // False (IllegalArgumentException pending) for a type outside 1..8.
    bool checkType(jint commandType, jint priority);
    void setLabels(String* shortLabel, String* longLabel);
};
