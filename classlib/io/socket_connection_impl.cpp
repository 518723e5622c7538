// SocketConnectionImpl: the connect runs parked; streams take a hold on the client.
#include "classlib/io/socket_connection_impl.h"

#include <string>

#include "classlib/blocking_io.h"
#include "classlib/io/socket_streams.h"
#include "classlib/io/win_socket_client.h"
#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/java_io/java_io_data_output_stream.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/string.h"

namespace {

const uint32_t kRefs[] = {BX_CONNECTION_REF_FIELDS(SocketConnectionImpl)};
const RefFieldRegistration kRefsReg(CID_javax_microedition_io_SocketConnection, kRefs);

}  // namespace

void SocketConnectionImpl::init(String* connectionUrl, jint accessMode, jboolean withTimeouts) {
    initFields(connectionUrl, accessMode, withTimeouts);
    client = new WinSocketClient();
    if (!client->Create()) return;
    const std::string hostName = host ? host->toCString() : std::string();
    if (port <= 0 || port > 0xFFFF) return;  // no port to connect to: reads and writes fail
    WinSocketClient* socket = client;
    const auto portNumber = static_cast<uint16_t>(port);
    runBlockingIo([&] { (void)socket->Connect(hostName, portNumber); });
}

// Collected: gives the hold back. The socket closes with the last holder, so a stream still in
// use (Connector::openInputStream keeps no connection) goes on reading.
void SocketConnectionImpl::destroy() {
    WinSocketClient::release(client);
    client = nullptr;
    Object::destroy();
}

void* SocketConnectionImpl::getInterface(jint classId) {
    auto* in = static_cast<javax_microedition_io_SocketConnection*>(this);
    switch (classId) {
        case CID_javax_microedition_io_Connection:
            return static_cast<javax_microedition_io_Connection*>(in);
        case CID_javax_microedition_io_InputConnection:
            return static_cast<javax_microedition_io_InputConnection*>(in);
        case CID_javax_microedition_io_StreamConnection:
            return static_cast<javax_microedition_io_StreamConnection*>(in);
        case CID_javax_microedition_io_SocketConnection:
            return in;
        case CID_javax_microedition_io_OutputConnection:
            return static_cast<javax_microedition_io_OutputConnection*>(this);
        default:
            return nullptr;
    }
}

void SocketConnectionImpl::close() {
    if (client) (void)client->Close();
}

java_io_InputStream* SocketConnectionImpl::openInputStream() {
    auto* in = Runtime::make<SocketInputStream>();
    if (in) in->setClient(client);
    return in;
}

java_io_DataInputStream* SocketConnectionImpl::openDataInputStream() {
    return java_io_DataInputStream::over(openInputStream());
}

java_io_OutputStream* SocketConnectionImpl::openOutputStream() {
    auto* out = Runtime::make<SocketOutputStream>();
    if (out) out->setClient(client);
    return out;
}

java_io_DataOutputStream* SocketConnectionImpl::openDataOutputStream() {
    return java_io_DataOutputStream::over(openOutputStream());
}
