#!/usr/bin/env python3
"""The HTML pages of a morvale-run of two genomes in headless Chromium: offline, tables as in
the TSV files, sorting, zoom, selection, copying, a clean console, and the island table's gene
evidence when Prodigal calls the genes.
Usage: page_test.py MORVALE_RUN EXAMPLE_GENOME [--screenshot PNG]; exits 77 (skipped) without
Selenium, Chromium or ChromeDriver."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import rows as tsv_rows, skip  # noqa: E402

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
except ImportError:
    skip("selenium missing (Debian: python3-selenium)")

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
DRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"
if not (os.path.exists(CHROMIUM) and os.path.exists(DRIVER)):
    skip("chromium or chromedriver missing (Debian: chromium, chromium-driver)")

RUN, EXAMPLE = sys.argv[1], sys.argv[2]
GENES = ["--call-genes"] if shutil.which("prodigal") else []
SCREENSHOT = sys.argv[sys.argv.index("--screenshot") + 1] if "--screenshot" in sys.argv else None


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--disable-dev-shm-usage", "--window-size=1300,1000",
                 "--user-data-dir=" + profile):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


class Pages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="morvale-page-")
        second = os.path.join(cls.folder, "second.fa")
        with open(EXAMPLE) as src, open(second, "w") as dst:
            dst.write(src.read(200000))
        cls.out = os.path.join(cls.folder, "out")
        subprocess.run([RUN, "-q", "--seed", "7", *GENES, "-o", cls.out, EXAMPLE, second], check=True)
        cls.driver = browser(os.path.join(cls.folder, "profile"))

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        shutil.rmtree(cls.folder)

    def open(self, path):
        self.driver.get_log("performance")  # forget earlier pages' requests
        self.driver.get_log("browser")
        self.driver.get("file://" + path)

    def assert_offline_and_clean(self):
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                url = message["params"]["request"]["url"]
                self.assertFalse(url.startswith(("http:", "https:", "ws:", "wss:")), url)
        self.assertEqual([e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"], [])

    def sort_by(self, table, index, kind=float):
        """Clicks the column's heading; its values in the rows' new order."""
        table.find_elements(By.TAG_NAME, "th")[index].click()
        return [kind(row.find_elements(By.TAG_NAME, "td")[index].get_attribute("data-value"))
                for row in table.find_elements(By.CSS_SELECTOR, "tbody tr")]

    def test_genome_page(self):
        folder = os.path.join(self.out, os.path.basename(EXAMPLE).rsplit(".", 1)[0])
        self.open(os.path.join(folder, "report.html"))
        d = self.driver
        table = d.find_element(By.ID, "islands")
        rows = table.find_elements(By.CSS_SELECTOR, "tbody tr")
        islands = tsv_rows(os.path.join(folder, "islands.tsv"))[1:]
        self.assertEqual(len(rows), len([r for r in islands if r[0] not in ("", "total")]))
        self.assertGreater(len(rows), 1)
        # Sorting by best p orders the rows, ascending then descending.
        values = self.sort_by(table, 6)
        self.assertEqual(values, sorted(values))
        values = self.sort_by(table, 6)
        self.assertEqual(values, sorted(values, reverse=True))
        # Zooming changes the visible range; the axis says so.
        plot = d.find_element(By.ID, "plot")
        whole = plot.get_attribute("data-view")
        d.find_element(By.ID, "zoom-in").click()
        start, end = map(int, plot.get_attribute("data-view").split("-"))
        self.assertLess(end - start, int(whole.split("-")[1]) / 1.5)
        d.find_element(By.ID, "zoom-reset").click()
        self.assertEqual(plot.get_attribute("data-view"), whole)
        # Clicking an island band selects its rows in the table.
        band = d.find_elements(By.CSS_SELECTOR, "#plot rect.band")[-1]
        island = band.get_attribute("data-island")
        ActionChains(d).move_to_element(band).click().perform()
        selected = [r.get_attribute("data-island")
                    for r in d.find_elements(By.CSS_SELECTOR, "#islands tr.selected")]
        self.assertTrue(selected and set(selected) == {island}, selected)
        # And the other way round: a row selects its band.
        first_row = d.find_elements(By.CSS_SELECTOR, "#islands tbody tr")[0]
        first_row.find_elements(By.TAG_NAME, "td")[0].click()
        bands = d.find_elements(By.CSS_SELECTOR, "#plot rect.band.selected")
        self.assertEqual(bands[0].get_attribute("data-island"), first_row.get_attribute("data-island"))
        # Copying coordinates gives record:start-end.
        first_row.find_element(By.CSS_SELECTOR, "button.copy").click()
        cells = first_row.find_elements(By.TAG_NAME, "td")
        self.assertEqual(d.find_element(By.ID, "status").text,
                         "Copied %s:%s-%s" % (cells[1].text, cells[2].text, cells[3].text))
        if SCREENSHOT:
            d.find_element(By.ID, "zoom-reset").click()
            d.execute_script("document.getElementById('controls').scrollIntoView()")
            d.save_screenshot(SCREENSHOT)
        self.assert_offline_and_clean()

    def test_gene_evidence_columns(self):
        if not GENES:
            self.skipTest("prodigal is not on PATH")
        folder = os.path.join(self.out, os.path.basename(EXAMPLE).rsplit(".", 1)[0])
        self.open(os.path.join(folder, "report.html"))
        table = self.driver.find_element(By.ID, "islands")
        heads = [th.text for th in table.find_elements(By.TAG_NAME, "th")]
        column = heads.index("atypical genes")
        self.assertEqual(heads[column:column + 4],
                         ["atypical genes", "median atypicality", "\u0394GC3", "atypical"])
        # Sorted by the atypical fraction, as evidence.tsv gives it, each row naming its
        # atypical genes as evidence.tsv does.
        values = self.sort_by(table, column)
        self.assertEqual(values, sorted(values))
        head, *evidence = tsv_rows(os.path.join(folder, "evidence.tsv"))
        expected = sorted((float(r[head.index("atypical_fraction")]),
                           r[head.index("atypical_gene_names")]) for r in evidence)
        shown = [(float(row.find_elements(By.TAG_NAME, "td")[column].get_attribute("data-value")),
                  row.find_element(By.CSS_SELECTOR, "td.atypical").text or "-")
                 for row in table.find_elements(By.CSS_SELECTOR, "tbody tr")]
        self.assertEqual([round(v, 3) for v, _ in shown], [v for v, _ in expected])
        self.assertEqual([names for _, names in shown], [names for _, names in expected])
        self.assertTrue(any(names != "-" for _, names in shown))
        self.assert_offline_and_clean()

    def test_index_page(self):
        self.open(os.path.join(self.out, "index.html"))
        table = self.driver.find_element(By.ID, "summary")
        rows = table.find_elements(By.CSS_SELECTOR, "tbody tr")
        self.assertEqual(len(rows), 2)
        values = self.sort_by(table, 3)
        self.assertEqual(values, sorted(values))
        link = rows[0].find_element(By.TAG_NAME, "a").get_attribute("href")
        self.assertTrue(link.startswith("file://") and link.endswith("/report.html"), link)
        # The presence table sorts by a genome's column; a filled cell opens its island's row.
        presence = self.driver.find_element(By.ID, "presence")
        values = self.sort_by(presence, 3, int)
        self.assertEqual(values, sorted(values))
        self.assertGreater(values[-1], 0)
        target = presence.find_element(By.CSS_SELECTOR, "td.filled a").get_attribute("href")
        self.assert_offline_and_clean()
        self.driver.get(target)
        row = self.driver.find_element(By.ID, target.split("#")[1])
        self.assertEqual((row.tag_name, row.find_element(By.TAG_NAME, "td").text),
                         ("tr", target.split("#")[1]))


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
