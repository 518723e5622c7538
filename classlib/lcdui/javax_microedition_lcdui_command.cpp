// Command: its two constructors share the type check and the label step.
#include "classlib/lcdui/javax_microedition_lcdui_command.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/class_record.h"
#include "runtime/exceptions.h"
#include "runtime/new_instance_factory.h"

namespace {

using Command = javax_microedition_lcdui_Command;

const uint32_t kCommandRefs[] = {BX_REF_FIELD(javax_microedition_lcdui_Command, m_label),
                                 BX_REF_FIELD(javax_microedition_lcdui_Command, m_longLabel)};
const RefFieldRegistration kCommandRefsReg(CID_javax_microedition_lcdui_Command, kCommandRefs);
const NewInstanceRegistration kCommandNew(CID_javax_microedition_lcdui_Command, &newInstanceOf<Command>);

}  // namespace

jint Command::getPriority() { return m_priority; }

void Command::init(String* label, jint commandType, jint priority) { init(label, nullptr, commandType, priority); }

void Command::init(String* shortLabel, String* longLabel, jint commandType, jint priority) {
    m_label = m_longLabel = nullptr;
    m_commandType = m_priority = m_extra = 0;
    if (!checkType(commandType, priority)) return;
    setLabels(shortLabel, longLabel);
}

bool Command::checkType(jint commandType, jint priority) {
    if (commandType < kMinType || commandType > kMaxType) {
        Runtime::raise<java_lang_IllegalArgumentException>();
        return false;
    }
    m_commandType = commandType;
    m_priority = priority;
    return true;
}

void Command::setLabels(String* shortLabel, String* longLabel) {
    if (!shortLabel) {
        Runtime::raise<java_lang_NullPointerException>();
        return;
    }
    m_label = shortLabel;
    m_longLabel = longLabel;
}
