// The creator table, filled by registrations before main. Object, String and StringBuffer register
// here; every other served class registers in its own file.
#include "runtime/new_instance_factory.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

// The 55 ids the factory serves. Arrays, abstract classes, interfaces and the classes that are
// always made elsewhere (22, 33, 89, 127) are not among them.
constexpr uint16_t kServedIds[] = {
    CID_Object, CID_String, CID_StringBuffer, CID_java_io_ByteArrayInputStream, CID_java_io_ByteArrayOutputStream,
    CID_java_io_ConsoleOutputStream, CID_java_io_DataInputStream, CID_java_io_DataOutputStream,
    CID_java_io_EOFException, CID_java_io_PrintStream, CID_java_io_UTFDataFormatException,
    CID_java_lang_ArrayIndexOutOfBoundsException, CID_java_lang_Boolean, CID_java_lang_Exception,
    CID_java_lang_IllegalArgumentException, CID_java_lang_IllegalStateException,
    CID_java_lang_IndexOutOfBoundsException, CID_java_lang_Integer, CID_java_lang_NullPointerException,
    CID_java_lang_NumberFormatException, CID_java_lang_Runtime, CID_java_lang_RuntimeException, CID_java_lang_Thread,
    CID_java_util_Calendar, CID_java_util_Date, CID_java_util_EmptyStackException,
    CID_java_util_Hashtable_HashtableEnumerator, CID_java_util_Hashtable, CID_java_util_HashtableEntry,
    CID_java_util_NoSuchElementException, CID_java_util_Random, CID_java_util_TaskQueue, CID_java_util_TimerThread,
    CID_java_util_TimeZoneImpl, CID_java_util_Vector, CID_javax_microedition_io_File,
    CID_javax_microedition_io_ResourceInputStream, CID_javax_microedition_lcdui_Command,
    CID_javax_microedition_lcdui_Display, CID_javax_microedition_lcdui_Font, CID_javax_microedition_lcdui_Image,
    CID_javax_microedition_rms_InvalidRecordIDException, CID_javax_microedition_rms_RecordEnumerationImpl,
    CID_javax_microedition_rms_RecordStore, CID_javax_microedition_rms_RecordStoreException,
    CID_javax_microedition_rms_RecordStoreFullException, CID_javax_microedition_rms_RecordStoreNotFoundException,
    CID_Bsprite, CID_cActor, CID_cEnemy, CID_cGame, CID_cHero, CID_cSubmarine, CID_BXLibPlayer, CID_IGP,
};
static_assert(std::size(kServedIds) == 55);

// Constant-initialised, so registrations from any file's static initialisers may write it.
NewInstanceCreator g_creators[kClassCount];

const NewInstanceRegistration kObjectNew(CID_Object, &newInstanceOf<Object>);
const NewInstanceRegistration kStringNew(CID_String, &newInstanceOf<String>);
const NewInstanceRegistration kStringBufferNew(CID_StringBuffer, &newInstanceOf<StringBuffer>);

}  // namespace

bool NewInstanceFactory::serves(jint classId) {
    for (uint16_t id : kServedIds)
        if (id == classId) return true;
    return false;
}

void NewInstanceFactory::registerCreator(uint16_t classId, NewInstanceCreator creator) {
    if (!serves(classId) || g_creators[classId] != nullptr) {
        std::fprintf(stderr, "new-instance creator of class %u registered twice or not served\n", classId);
        std::abort();
    }
    g_creators[classId] = creator;
}

Object* NewInstanceFactory::newInstance(jint classId) {
    if (classId < 0 || classId >= kClassCount || !g_creators[classId]) return nullptr;
    return g_creators[classId]();
}
