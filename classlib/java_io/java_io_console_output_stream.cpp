// ConsoleOutputStream's factory entry; the class itself is all in its header.
#include "classlib/java_io/java_io_console_output_stream.h"

#include "runtime/new_instance_factory.h"

namespace {

const NewInstanceRegistration kNew(CID_java_io_ConsoleOutputStream, &newInstanceOf<java_io_ConsoleOutputStream>);

}  // namespace
