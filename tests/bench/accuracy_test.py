# The interval scorer of bench/accuracy.py, on hand-made intervals.
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "bench"))
import accuracy  # noqa: E402


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


if __name__ == "__main__":
    unittest.main()
