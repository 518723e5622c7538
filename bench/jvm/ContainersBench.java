// The JVM twin of bench/containers_bench.cpp: the same container work, part for part, with
// java.util's Hashtable, Vector and Random. The same rounds as the C++ side (first argument), the
// median of each part's second half reported.
import java.util.Hashtable;
import java.util.Random;
import java.util.Vector;

@SuppressWarnings("removal")
public final class ContainersBench {
    static final int KEYS = 20000;
    static final int FRONT_REMOVALS = 1000;
    static final int DRAWS = 200000;
    static final int ROUNDS = 40;
    static int rounds = ROUNDS;

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

    static double steady(Runnable work) {
        double[] times = new double[rounds];
        for (int round = 0; round < rounds; ++round) {
            long start = System.nanoTime();
            work.run();
            times[round] = (System.nanoTime() - start) / 1e6;
        }
        java.util.Arrays.sort(times, rounds / 2, rounds);
        return times[rounds / 2 + (rounds - rounds / 2) / 2];
    }

    public static void main(String[] args) {
        if (args.length > 0) rounds = Math.max(2, Integer.parseInt(args[0]));
        // Fresh objects, as the C++ side has them: probes equal the keys but are not the same.
        String[] keys = new String[KEYS];
        String[] probes = new String[KEYS];
        for (int i = 0; i < KEYS; ++i) {
            keys[i] = new String("key-" + i);
            probes[i] = new String("key-" + i);
        }
        double integers = steady(ContainersBench::integerTable);
        double strings = steady(() -> stringTable(keys, probes));
        double vectors = steady(ContainersBench::vector);
        double randoms = steady(ContainersBench::random);
        System.out.printf("check sum=%d%n", sum);
        System.out.printf("  hashtable Integer keys %.2f ms, String keys %.2f ms, vector %.2f ms, random %.2f ms%n",
                          integers, strings, vectors, randoms);
        System.out.printf("part hashtable_integer_keys %.4f%npart hashtable_string_keys %.4f%npart vector %.4f%npart random %.4f%n",
                          integers, strings, vectors, randoms);
        System.out.printf("jvm: %.2f ms per round (median of rounds %d-%d per part)%n", integers + strings + vectors + randoms,
                          rounds / 2 + 1, rounds);
    }
}
