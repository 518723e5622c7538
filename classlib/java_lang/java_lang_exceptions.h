// The exception classes: java_lang_Throwable's subclasses, each only a class id and a superclass.
// They share Throwable's fields, table and constructors (init() / init(String*)); the template keeps
// the C++ hierarchy equal to the class table's superclass chain. Throw one with Runtime::raise<E>
// (runtime/compiled.h).
#pragma once

#include "runtime/class_ids.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/java_lang_throwable.h"

template <ClassId Id, class Super>
class ExceptionClass : public Super {
public:
    static constexpr ClassId kClassId = Id;
    static_assert(kSuperclassIds[Id] == Super::kClassId, "superclass differs from the class table");

    // The header constructor; defined with the explicit instantiations, once for the family.
    ExceptionClass();
};

using java_lang_Exception = ExceptionClass<CID_java_lang_Exception, java_lang_Throwable>;
using java_lang_Error = ExceptionClass<CID_java_lang_Error, java_lang_Throwable>;
using java_lang_RuntimeException = ExceptionClass<CID_java_lang_RuntimeException, java_lang_Exception>;
using java_lang_InterruptedException = ExceptionClass<CID_java_lang_InterruptedException, java_lang_Exception>;
using java_lang_ClassNotFoundException = ExceptionClass<CID_java_lang_ClassNotFoundException, java_lang_Exception>;
using java_io_IOException = ExceptionClass<CID_java_io_IOException, java_lang_Exception>;
using java_io_EOFException = ExceptionClass<CID_java_io_EOFException, java_io_IOException>;
using java_io_UTFDataFormatException = ExceptionClass<CID_java_io_UTFDataFormatException, java_io_IOException>;
using javax_microedition_io_ConnectionNotFoundException =
    ExceptionClass<CID_javax_microedition_io_ConnectionNotFoundException, java_io_IOException>;
using javax_microedition_media_MediaException =
    ExceptionClass<CID_javax_microedition_media_MediaException, java_lang_Exception>;
using javax_microedition_rms_RecordStoreException =
    ExceptionClass<CID_javax_microedition_rms_RecordStoreException, java_lang_Exception>;
using javax_microedition_rms_RecordStoreNotOpenException =
    ExceptionClass<CID_javax_microedition_rms_RecordStoreNotOpenException, javax_microedition_rms_RecordStoreException>;
using javax_microedition_rms_RecordStoreNotFoundException =
    ExceptionClass<CID_javax_microedition_rms_RecordStoreNotFoundException, javax_microedition_rms_RecordStoreException>;
using javax_microedition_rms_RecordStoreFullException =
    ExceptionClass<CID_javax_microedition_rms_RecordStoreFullException, javax_microedition_rms_RecordStoreException>;
using javax_microedition_rms_InvalidRecordIDException =
    ExceptionClass<CID_javax_microedition_rms_InvalidRecordIDException, javax_microedition_rms_RecordStoreException>;
using java_util_NoSuchElementException = ExceptionClass<CID_java_util_NoSuchElementException, java_lang_RuntimeException>;
using java_util_EmptyStackException = ExceptionClass<CID_java_util_EmptyStackException, java_lang_RuntimeException>;
using java_lang_NullPointerException = ExceptionClass<CID_java_lang_NullPointerException, java_lang_RuntimeException>;
using java_lang_IndexOutOfBoundsException =
    ExceptionClass<CID_java_lang_IndexOutOfBoundsException, java_lang_RuntimeException>;
using java_lang_ArrayIndexOutOfBoundsException =
    ExceptionClass<CID_java_lang_ArrayIndexOutOfBoundsException, java_lang_IndexOutOfBoundsException>;
using java_lang_IllegalStateException = ExceptionClass<CID_java_lang_IllegalStateException, java_lang_RuntimeException>;
using java_lang_IllegalArgumentException =
    ExceptionClass<CID_java_lang_IllegalArgumentException, java_lang_RuntimeException>;
using java_lang_NumberFormatException =
    ExceptionClass<CID_java_lang_NumberFormatException, java_lang_IllegalArgumentException>;
using java_lang_ArrayStoreException = ExceptionClass<CID_java_lang_ArrayStoreException, java_lang_RuntimeException>;
using java_lang_ArithmeticException = ExceptionClass<CID_java_lang_ArithmeticException, java_lang_RuntimeException>;
