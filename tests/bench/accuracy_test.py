# The interval scorer of bench/accuracy.py and the aligned letters and strain-specific runs of
# bench/comparative_truth.py, on hand-made input.
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "bench"))
import accuracy  # noqa: E402
import comparative_truth  # noqa: E402


class IntervalScore(unittest.TestCase):
    def test_overlapping_and_touching_intervals_count_once(self):
        self.assertEqual(accuracy.merged([(10, 20), (0, 5), (5, 8), (15, 30), (40, 40)]),
                         [(0, 8), (10, 30)])
        self.assertEqual(accuracy.covered([(0, 10), (5, 15)]), 15)
        self.assertEqual(accuracy.overlap([(0, 10), (20, 30)], [(5, 25)]), 10)

    def test_recall_precision_and_f1(self):
        cases = [
            # predicted, truth, recall, precision, f1
            ([(0, 100)], [(0, 100)], 1.0, 1.0, 1.0),
            ([(0, 50)], [(0, 100)], 0.5, 1.0, 2 / 3),
            ([(0, 200)], [(0, 100)], 1.0, 0.5, 2 / 3),
            ([(300, 400)], [(0, 100)], 0.0, 0.0, 0.0),
            ([], [(0, 100)], 0.0, 0.0, 0.0),
            ([(0, 60), (50, 100)], [(0, 100), (90, 110)], 100 / 110, 1.0, 2 * (100 / 110) / (1 + 100 / 110)),
        ]
        for predicted, truth, recall, precision, f1 in cases:
            got = accuracy.score(predicted, truth)
            for value, expected in zip(got, (recall, precision, f1)):
                self.assertAlmostEqual(value, expected, msg=str((predicted, truth)))

    def test_reads_bed_and_truth_tables(self):
        with tempfile.TemporaryDirectory() as folder:
            bed = os.path.join(folder, "islands.bed")
            truth = os.path.join(folder, "x.truth.tsv")
            with open(bed, "w") as f:
                f.write("chr\t10\t20\tisland_1\t1000\t.\nchr\t30\t40\tisland_2\t500\t.\n")
            with open(truth, "w") as f:
                f.write("start\tend\tsource\n# a comment\n100\t200\tdonor\n")
            self.assertEqual(accuracy.read_intervals(bed), [(10, 20), (30, 40)])
            self.assertEqual(accuracy.read_intervals(truth), [(100, 200)])


class Runs(unittest.TestCase):
    def test_a_mode_is_skipped_only_for_an_unknown_option(self):
        cases = [
            # exit status, standard error, skipped
            (2, "morvale-run: unknown option --natural (see --help)\n", True),
            (2, "morvale-run: --cutoff: 2 is out of range\n", False),
            (1, "morvale-run: unknown option in a genome name\n", False),
            (0, "", False),
        ]
        for status, stderr, skipped in cases:
            result = subprocess.CompletedProcess([], status, "", stderr)
            self.assertEqual(accuracy.unknown_option(result), skipped, stderr)


class ComparativeTruth(unittest.TestCase):
    def test_aligned_letters_follow_the_cigar_on_both_strands(self):
        cases = [
            # query length, start, end, strand, CIGAR, aligned query intervals
            (100, 10, 40, "+", "10M5I5D15M", [(10, 20), (25, 40)]),
            (100, 10, 40, "-", "10M5I15M", [(30, 40), (10, 25)]),
            (100, 0, 10, "+", "5=2X3=", [(0, 5), (5, 7), (7, 10)]),
            (100, 90, 100, "-", "4=200D6X", [(96, 100), (90, 96)]),
            (100, 0, 100, "+", "20M60N20I60M", [(0, 20), (40, 100)]),
        ]
        for length, start, end, strand, cigar, expected in cases:
            self.assertEqual(comparative_truth.cigar_matches(length, start, end, strand, cigar), expected, cigar)
        for cigar in ["10M", "12M3Q", "M12"]:  # 10 letters consumed of 12; unknown operation; no count
            self.assertRaises(ValueError, comparative_truth.cigar_matches, 100, 0, 12, "+", cigar)

    def test_paf_lines_gather_per_query(self):
        paf = ["q\t100\t0\t10\t+\tt\t500\t0\t10\t10\t10\t60\tNM:i:0\tcg:Z:10M\n",
               "q\t100\t50\t60\t-\tt\t500\t0\t12\t8\t12\t60\tcg:Z:3M2D7M\n"]
        self.assertEqual(comparative_truth.paf_matches(paf), {"q": (100, [(0, 10), (57, 60), (50, 57)])})
        self.assertRaises(ValueError, comparative_truth.paf_matches, [paf[0].replace("\tcg:Z:10M", "")])

    def test_uncovered_runs_of_at_least_the_minimum(self):
        cases = [
            # length, covered intervals, minimum, runs
            (20000, [], 5000, [(0, 20000)]),
            (20000, [(4999, 5000)], 5000, [(5000, 20000)]),
            (20000, [(0, 1000), (6500, 12000), (6000, 7000)], 5000, [(1000, 6000), (12000, 20000)]),
            (20000, [(0, 18000), (2000, 3000)], 2000, [(18000, 20000)]),
            (20000, [(0, 18000), (2000, 3000)], 2001, []),
        ]
        for length, covered, minimum, expected in cases:
            self.assertEqual(comparative_truth.uncovered_runs(length, covered, minimum), expected, covered)


if __name__ == "__main__":
    unittest.main()
