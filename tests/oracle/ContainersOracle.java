// Prints the golden transcript of tests/fixtures/containers_oracle.txt: java.util.Random,
// Hashtable and Vector on fixed scenarios. tests/classlib/containers_oracle_test.cpp runs the same
// scenarios on our classes and must print the same text. Regenerate with:
//     javac -d /tmp/oracle tests/oracle/ContainersOracle.java
//     java -cp /tmp/oracle ContainersOracle > tests/fixtures/containers_oracle.txt
import java.util.Enumeration;
import java.util.Hashtable;
import java.util.Random;
import java.util.Vector;

public final class ContainersOracle {
    static final int DRAWS = 6;

    // Our String hash covers the terminating zero unit: 31 times Java's. This key hashes the same
    // way, so both tables place it in the same bucket.
    static final class Key {
        final String text;
        Key(String text) { this.text = text; }
        @Override public int hashCode() { return text.hashCode() * 31; }
        @Override public boolean equals(Object o) { return o instanceof Key && ((Key) o).text.equals(text); }
        @Override public String toString() { return text; }
    }

    static void random(long seed) {
        Random r = new Random(seed);
        System.out.println("random seed=" + seed);
        StringBuilder line = new StringBuilder("  nextInt:");
        for (int i = 0; i < DRAWS; ++i) line.append(' ').append(r.nextInt());
        System.out.println(line);
        int[] bounds = {1, 7, 16, 100, (1 << 30) + 1};
        for (int n : bounds) {
            line = new StringBuilder("  nextInt(" + n + "):");
            for (int i = 0; i < DRAWS; ++i) line.append(' ').append(r.nextInt(n));
            System.out.println(line);
        }
        line = new StringBuilder("  nextLong:");
        for (int i = 0; i < DRAWS; ++i) line.append(' ').append(r.nextLong());
        System.out.println(line);
    }

    static void print(String label, Hashtable<Object, Object> h) {
        System.out.println(label + ": size=" + h.size());
        StringBuilder line = new StringBuilder("  keys:");
        for (Enumeration<Object> e = h.keys(); e.hasMoreElements();) line.append(' ').append(e.nextElement());
        System.out.println(line);
        line = new StringBuilder("  elements:");
        for (Enumeration<Object> e = h.elements(); e.hasMoreElements();) line.append(' ').append(e.nextElement());
        System.out.println(line);
        System.out.println("  toString: " + h);
    }

    static void integerTable() {
        Hashtable<Object, Object> h = new Hashtable<>();
        for (int i = 0; i < 8; ++i) h.put(i * 7, i);
        print("integers: 8 keys, 11 buckets", h);
        h.put(56, 8);  // the 9th key grows the table to 23 buckets first
        h.put(0x80000005, 9);
        h.put(-3, 10);
        print("integers: 11 keys, 23 buckets", h);
        for (int i = 0; i < 30; ++i) h.put(i * 13 - 40, 100 + i);  // across 47 and 95 buckets
        print("integers: after 30 more puts", h);
        Object old = h.put(21, 999);  // replaces, no growth
        System.out.println("replaced 21: old=" + old);
        System.out.println("removed: " + h.remove(0) + " " + h.remove(-40) + " " + h.remove(12345) + " " + h.remove(63));
        print("integers: after the removes", h);
        Hashtable<Object, Object> one = new Hashtable<>(0);
        for (int i = 0; i < 7; ++i) one.put(i * 5, -i);
        print("integers: from 1 bucket", one);
    }

    static void stringTable() {
        Hashtable<Object, Object> h = new Hashtable<>();
        for (int i = 0; i < 40; ++i) h.put(new Key("k" + i), new Key("v" + i));
        print("strings: 40 keys", h);
        h.put(new Key("k7"), new Key("seven"));
        h.remove(new Key("k0"));
        h.remove(new Key("k39"));
        h.remove(new Key("k20"));
        print("strings: after replace and removes", h);
    }

    static void capacities(String label, Vector<Object> v, int adds) {
        StringBuilder line = new StringBuilder(label + ":");
        for (int i = 0; i < adds; ++i) {
            v.addElement(i);
            line.append(' ').append(v.capacity());
        }
        System.out.println(line);
    }

    static void vectors() {
        capacities("vector(): capacity after each add", new Vector<>(), 25);
        capacities("vector(4, 3): capacity after each add", new Vector<>(4, 3), 12);
        capacities("vector(0): capacity after each add", new Vector<>(0), 6);
        Vector<Object> v = new Vector<>(10);
        v.ensureCapacity(15);
        System.out.print("vector(10): ensureCapacity(15) " + v.capacity());
        v.ensureCapacity(50);
        System.out.print(", ensureCapacity(50) " + v.capacity());
        v.setSize(7);
        v.trimToSize();
        System.out.print(", setSize(7) trimToSize " + v.capacity());
        v.insertElementAt("x", 7);
        System.out.print(", insert at the end " + v.capacity() + " size " + v.size());
        v.setSize(30);
        System.out.println(", setSize(30) " + v.capacity());
    }

    public static void main(String[] args) {
        random(0);
        random(42);
        random(-1);
        random(1L << 47);
        integerTable();
        stringTable();
        vectors();
    }
}
