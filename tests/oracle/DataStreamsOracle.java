// Golden bytes for the data streams and the archive index, written by the JVM's own
// DataOutputStream. Regenerate with:
//   java tests/oracle/DataStreamsOracle.java > tests/fixtures/data_streams_oracle.txt
// Each line: "case NAME HEX" (one typed write) or "archive HEX" (a whole data.bar).
import java.io.ByteArrayOutputStream;
import java.io.DataOutputStream;
import java.io.IOException;

public class DataStreamsOracle {
    interface Write {
        void to(DataOutputStream out) throws IOException;
    }

    static String hex(byte[] bytes) {
        StringBuilder sb = new StringBuilder();
        for (byte b : bytes) sb.append(String.format("%02x", b & 0xFF));
        return sb.length() == 0 ? "-" : sb.toString();
    }

    static void emit(String name, Write w) throws IOException {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        w.to(new DataOutputStream(bytes));
        System.out.println("case " + name + " " + hex(bytes.toByteArray()));
    }

    public static void main(String[] args) throws IOException {
        emit("writeShort_-2", o -> o.writeShort(-2));
        emit("writeShort_258", o -> o.writeShort(258));
        emit("writeShort_70000", o -> o.writeShort(70000));
        emit("writeInt_258", o -> o.writeInt(258));
        emit("writeInt_-2", o -> o.writeInt(-2));
        emit("writeInt_min", o -> o.writeInt(Integer.MIN_VALUE));
        emit("writeLong_1", o -> o.writeLong(1));
        emit("writeLong_-2", o -> o.writeLong(-2));
        emit("writeLong_0123456789abcdef", o -> o.writeLong(0x0123456789ABCDEFL));
        emit("writeByte_-1", o -> o.writeByte(-1));
        emit("writeBoolean_true", o -> o.writeBoolean(true));
        emit("writeChar_fffe", o -> o.writeChar(0xFFFE));
        emit("writeChars_Ab", o -> o.writeChars("Ab"));
        emit("writeUTF_a_e_acute", o -> o.writeUTF("a\u00E9"));
        emit("writeUTF_nul", o -> o.writeUTF("\u0000"));
        emit("writeUTF_empty", o -> o.writeUTF(""));
        emit("writeUTF_mixed", o -> o.writeUTF("x\u0000\u007F\u0080\u07FF\u0800\u20AC\uFFFF\uD800"));

        // An archive with what the packer refuses: names equal but for case, and a name that starts
        // with '/'. Data follows the index in entry order.
        String[] names = {"Mixed/Case.TXT", "mixed/case.txt", "/slashed", "empty", "small.bin"};
        byte[][] data = {"first".getBytes("ISO-8859-1"), "second".getBytes("ISO-8859-1"), {'s'}, {},
                         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
        int indexSize = 2;
        for (String n : names) indexSize += 2 + n.getBytes("UTF-8").length + 8;
        ByteArrayOutputStream archive = new ByteArrayOutputStream();
        DataOutputStream out = new DataOutputStream(archive);
        out.writeShort(names.length);
        int offset = indexSize;
        for (int i = 0; i < names.length; i++) {
            out.writeUTF(names[i]);
            out.writeInt(offset);
            out.writeInt(data[i].length);
            offset += data[i].length;
        }
        for (byte[] d : data) out.write(d);
        System.out.println("archive " + hex(archive.toByteArray()));
    }
}
