// The exception family's header constructors, instantiated once here, and the factory entries of
// the exception classes NewInstanceFactory serves.
#include "classlib/java_lang/java_lang_exceptions.h"

#include "runtime/new_instance_factory.h"

template <ClassId Id, class Super>
ExceptionClass<Id, Super>::ExceptionClass() {
    this->setClassId(Id);
}

template class ExceptionClass<CID_java_lang_Exception, java_lang_Throwable>;
template class ExceptionClass<CID_java_lang_Error, java_lang_Throwable>;
template class ExceptionClass<CID_java_lang_RuntimeException, java_lang_Exception>;
template class ExceptionClass<CID_java_lang_InterruptedException, java_lang_Exception>;
template class ExceptionClass<CID_java_lang_ClassNotFoundException, java_lang_Exception>;
template class ExceptionClass<CID_java_io_IOException, java_lang_Exception>;
template class ExceptionClass<CID_java_io_EOFException, java_io_IOException>;
template class ExceptionClass<CID_java_io_UTFDataFormatException, java_io_IOException>;
template class ExceptionClass<CID_javax_microedition_io_ConnectionNotFoundException, java_io_IOException>;
template class ExceptionClass<CID_javax_microedition_media_MediaException, java_lang_Exception>;
template class ExceptionClass<CID_javax_microedition_rms_RecordStoreException, java_lang_Exception>;
template class ExceptionClass<CID_javax_microedition_rms_RecordStoreNotOpenException,
                              javax_microedition_rms_RecordStoreException>;
template class ExceptionClass<CID_javax_microedition_rms_RecordStoreNotFoundException,
                              javax_microedition_rms_RecordStoreException>;
template class ExceptionClass<CID_javax_microedition_rms_RecordStoreFullException,
                              javax_microedition_rms_RecordStoreException>;
template class ExceptionClass<CID_javax_microedition_rms_InvalidRecordIDException,
                              javax_microedition_rms_RecordStoreException>;
template class ExceptionClass<CID_java_util_NoSuchElementException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_util_EmptyStackException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_lang_NullPointerException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_lang_IndexOutOfBoundsException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_lang_ArrayIndexOutOfBoundsException, java_lang_IndexOutOfBoundsException>;
template class ExceptionClass<CID_java_lang_IllegalStateException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_lang_IllegalArgumentException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_lang_NumberFormatException, java_lang_IllegalArgumentException>;
template class ExceptionClass<CID_java_lang_ArrayStoreException, java_lang_RuntimeException>;
template class ExceptionClass<CID_java_lang_ArithmeticException, java_lang_RuntimeException>;

namespace {

#define BX_SERVED(E) NewInstanceRegistration(E::kClassId, &newInstanceOf<E>)
const NewInstanceRegistration kServedExceptions[] = {
    BX_SERVED(java_io_EOFException),
    BX_SERVED(java_io_UTFDataFormatException),
    BX_SERVED(java_lang_ArrayIndexOutOfBoundsException),
    BX_SERVED(java_lang_Exception),
    BX_SERVED(java_lang_IllegalArgumentException),
    BX_SERVED(java_lang_IllegalStateException),
    BX_SERVED(java_lang_IndexOutOfBoundsException),
    BX_SERVED(java_lang_NullPointerException),
    BX_SERVED(java_lang_NumberFormatException),
    BX_SERVED(java_lang_RuntimeException),
    BX_SERVED(java_util_EmptyStackException),
    BX_SERVED(java_util_NoSuchElementException),
    BX_SERVED(javax_microedition_rms_InvalidRecordIDException),
    BX_SERVED(javax_microedition_rms_RecordStoreException),
    BX_SERVED(javax_microedition_rms_RecordStoreFullException),
    BX_SERVED(javax_microedition_rms_RecordStoreNotFoundException),
};
#undef BX_SERVED

}  // namespace
