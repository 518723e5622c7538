// javax_microedition_midlet_MIDlet (class id 103, abstract): the application's properties, read
// from the resource "app.jad" by the constructor, and the lifecycle slots the Application calls.
// The application's own MIDlet class (class id 127) registers how it is made, so the runtime can
// start it without knowing it.
#pragma once

#include "runtime/object.h"

class String;
class java_util_Hashtable;

class javax_microedition_midlet_MIDlet : public Object {
public:
    javax_microedition_midlet_MIDlet() { setClassId(CID_javax_microedition_midlet_MIDlet); }

    // Slot 6: the property, or a new String "PROPERTY VALUE EMPTY" (never null).
    virtual String* getAppProperty(String* key);
    // Slots 7 to 9, filled by the application's MIDlet.
    virtual void startApp() = 0;
    virtual void pauseApp() = 0;
    virtual void destroyApp(jboolean unconditional) = 0;

    // The constructor: properties := a Hashtable of 11 buckets holding the descriptor's lines.
    void init();
    // The text of the resource "app.jad", one byte to one character; null when it is missing.
    [[nodiscard]] static String* readAppDescriptor();
    // Lines of "key ':' value", ended by LF or CR LF; blanks around key and value dropped; a later
    // equal key replaces the value; a value may hold ':'. A line without ':' runs its key on to the
    // next ':' of the text; once no ':' is left, the rest holds no property.
    static void parseAppDescriptor(String* text, java_util_Hashtable* properties);
    // Starts the device's browser with url (the host vets it; a refused one starts nothing) and,
    // when it started, minimises the game. Always false: the MIDlet need not exit first.
    [[nodiscard]] jboolean platformRequest(String* url);
    // The MIDlet has ended: the host loop stops at its next pass and the program shuts down.
    void notifyDestroyed();

    java_util_Hashtable* m_properties;
};

// How the application's MIDlet class is made: allocation with its header constructor, then its
// constructor (which runs the MIDlet constructor).
struct MIDletClass {
    javax_microedition_midlet_MIDlet* (*allocate)();
    void (*construct)(javax_microedition_midlet_MIDlet* midlet);
};

// The registered MIDlet class, or null when none is linked in.
[[nodiscard]] const MIDletClass* applicationMIDletClass();

// In the application MIDlet's file (only class id 127 may register, once):
//     const MIDletRegistration kMIDlet(CID_VorpaZQTI, {&allocateVorpaZQTI, &constructVorpaZQTI});
struct MIDletRegistration {
    MIDletRegistration(uint16_t classId, MIDletClass midletClass);
};
