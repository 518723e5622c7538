// The JVM twin of bench/containers_bench.cpp: the same container work, part for part, with
// java.util's Hashtable, Vector and Random.
import java.util.Hashtable;
import java.util.Random;
import java.util.Vector;

@SuppressWarnings("removal")
public final class ContainersBench {
    static final int KEYS = 20000;
    static final int FRONT_REMOVALS = 1000;
    static final int DRAWS = 200000;
    static final int ROUNDS = 7;

    static long sum;

    static void integerTable() {
        Hashtable<Integer, Integer> h = new Hashtable<>();
        for (int i = 0; i < KEYS; ++i) h.put(new Integer(i * 7), new Integer(i));
        for (int i = 0; i < KEYS; ++i) sum += h.get(new Integer(i * 7));
        for (int i = 0; i < KEYS; i += 2) h.remove(new Integer(i * 7));
        sum += h.size();
    }

    static void stringTable(String[] keys, String[] probes) {
        Hashtable<String, Integer> h = new Hashtable<>();
        for (int i = 0; i < KEYS; ++i) h.put(keys[i], new Integer(i));
        for (int i = 0; i < KEYS; ++i) sum += h.get(probes[i]);
        for (int i = 0; i < KEYS; i += 2) h.remove(probes[i]);
        sum += h.size();
    }

    static void vector() {
        Vector<Integer> v = new Vector<>();
        for (int i = 0; i < KEYS; ++i) v.addElement(new Integer(i));
        for (int i = 0; i < KEYS; ++i) sum += v.elementAt(i);
        for (int i = 0; i < FRONT_REMOVALS; ++i) v.removeElementAt(0);
        while (v.size() > KEYS / 2) v.removeElementAt(v.size() - 1);
        sum += v.size() + v.firstElement();
    }

    static void random() {
        Random r = new Random(42);
        for (int i = 0; i < DRAWS; ++i) sum += r.nextInt(1000);
        sum += r.nextInt();
    }

    static double best(Runnable work) {
        double fastest = Double.MAX_VALUE;
        for (int round = 0; round < ROUNDS; ++round) {
            long start = System.nanoTime();
            work.run();
            fastest = Math.min(fastest, (System.nanoTime() - start) / 1e6);
        }
        return fastest;
    }

    public static void main(String[] args) {
        // Fresh objects, as the C++ side has them: probes equal the keys but are not the same.
        String[] keys = new String[KEYS];
        String[] probes = new String[KEYS];
        for (int i = 0; i < KEYS; ++i) {
            keys[i] = new String("key-" + i);
            probes[i] = new String("key-" + i);
        }
        double integers = best(ContainersBench::integerTable);
        double strings = best(() -> stringTable(keys, probes));
        double vectors = best(ContainersBench::vector);
        double randoms = best(ContainersBench::random);
        System.out.printf("check sum=%d%n", sum);
        System.out.printf("  hashtable Integer keys %.2f ms, String keys %.2f ms, vector %.2f ms, random %.2f ms%n",
                          integers, strings, vectors, randoms);
        System.out.printf("jvm: %.2f ms per round (best of %d per part)%n", integers + strings + vectors + randoms, ROUNDS);
    }
}
