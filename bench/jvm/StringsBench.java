// The JVM twin of bench/strings_bench.cpp: the same string work, round for round. Our runtime's
// hash covers the terminator (31 times Java's), so the check prints 31 * the hash sum. The same
// rounds as the C++ side (first argument), the median of the second half reported.
public final class StringsBench {
    static final int ITERATIONS = 200000;
    static final int ROUNDS = 30;

    static long lengths;
    static int hashes;

    static void runRound(String item, String name, String suffix, String comma, String needle) {
        lengths = 0;
        hashes = 0;
        for (int i = 0; i < ITERATIONS; ++i) {
            StringBuffer sb = new StringBuffer(16);
            sb.append(item).append(i).append(':').append(name);
            String s = sb.toString();
            String t = s.concat(suffix);

            StringBuffer big = new StringBuffer(16);
            for (int k = 0; k < 8; ++k) big.append(i + k).append(comma);
            String u = big.toString();

            hashes += t.hashCode() + u.hashCode();
            lengths += t.length() + u.length() + t.indexOf(':') + u.indexOf(needle);
        }
    }

    public static void main(String[] args) {
        int rounds = args.length > 0 ? Math.max(2, Integer.parseInt(args[0])) : ROUNDS;
        // Fresh objects each time, as the C++ side has them.
        String item = new String("item");
        String name = new String("brindlex-player");
        String suffix = new String("/suffix");
        String comma = new String(",");
        String needle = new String(",1");
        double[] times = new double[rounds];
        for (int round = 0; round < rounds; ++round) {
            long start = System.nanoTime();
            runRound(item, name, suffix, comma, needle);
            times[round] = (System.nanoTime() - start) / 1e6;
        }
        StringBuilder line = new StringBuilder("rounds ms:");
        for (double t : times) line.append(String.format(" %.1f", t));
        System.out.println(line);
        java.util.Arrays.sort(times, rounds / 2, rounds);
        double median = times[rounds / 2 + (rounds - rounds / 2) / 2];
        System.out.printf("check lengths=%d hash31=%d%n", lengths, hashes * 31);
        System.out.printf("jvm: %.2f ms per round of %d iterations (median of rounds %d-%d)%n", median, ITERATIONS,
                          rounds / 2 + 1, rounds);
    }
}
