#!/usr/bin/env python3
"""The manual pages and the bash completion against --help and --version, and the tree
`cmake --install` writes. usage: docs_test.py BUILD_DIR VERSION (77 without groff, after the rest)"""
import os, re, shutil, sys, tempfile
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from cli_support import Checks, run  # noqa: E402

build, version = sys.argv[1], sys.argv[2]
docs = os.path.join(build, "docs")
check = Checks()
PROGRAMS = ["", "-run", "-report"]


def help_entries(program):
    """{names: text} of the option and file entries of --help, continuation lines joined."""
    entries, name = {}, None
    for line in run([os.path.join(build, program), "--help"]).stdout.split("examples:")[0].splitlines():
        if re.match(r"^ {2,6}\S", line):
            name, *text = re.split(r"\s{2,}", line.strip(), 1)
            entries[name] = "".join(text)
        elif name and line.startswith(" " * 20):
            entries[name] = (entries[name] + " " + line.strip()).strip()
        else:
            name = None
    return entries


def page_entries(page):
    """{first line: text} of the .TP entries of a manual page, unescaped."""
    plain = lambda t: re.sub(r"\\f[BIR]|\\&", "", t).replace("\\-", "-").replace("\\e", "\\")  # noqa: E731
    return {plain(m.group(1)).removeprefix(".I "): plain(m.group(2))
            for m in re.finditer(r"^\.TP\n(.*)\n(.*)$", page, re.M)}


def read(name):
    return open(os.path.join(docs, name)).read()


completion = read("morvale-run.bash")
completed = set(re.search(r'cur == -\* \]\]; then\n\s+COMPREPLY=\(\$\(compgen -W "([^"]*)"',
                          completion).group(1).split())
# Each option (names, value, default) and file of --help is the manual page's too.
options = lambda entries: {(n, *re.findall(r" \[([^]]*)\]", t)) for n, t in entries.items()  # noqa: E731
                           if n.startswith("-")}
files = lambda entries: {n for n in entries if re.fullmatch(r"[\w.][\w./-]*", n)}  # noqa: E731
for program, least in [("morvale-run", 25), ("morvale-report", 3)]:
    helped, paged = help_entries(program), page_entries(read(program + ".1"))
    shown = {n for o, *_ in options(helped) for n in re.findall(r"(?<![\w-])--?\w[\w-]*", o)}
    check(len(shown) >= least, f"{program} --help lists only {sorted(shown)}")
    check(options(paged) == options(helped),
          f"{program}.1 options or defaults differ from --help: {options(paged) ^ options(helped)}")
    check(files(paged) == files(helped), f"{program}.1 files differ: {files(paged) ^ files(helped)}")
    if program == "morvale-run":
        check(completed == shown, f"completion differs from --help: {sorted(completed ^ shown)}")
        check(sum(len(o) > 1 for o in options(helped)) >= 20, f"defaults: {options(helped)}")
        check({"islands.fasta", "DIR/island_clusters.tsv", "DIR/jobs/"} <= files(helped),
              f"--help lists only the files {sorted(files(helped))}")
    out = run([os.path.join(build, program), "--version"]).stdout
    check(out == f"{program} {version}\n", f"{program} --version says {out!r}")
for name in [f"morvale{p}.1" for p in PROGRAMS]:
    page = read(name)
    check(f'"morvale {version}"' in page, f"{name} does not give version {version}")
    for section in ["NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "FILES", "EXIT STATUS", "EXAMPLES"]:
        check(f"\n.SH {section}\n" in page, f"{name} has no {section} section")

# The completion as bash runs it: words for a cursor after the given words.
with tempfile.TemporaryDirectory() as tmp:
    os.mkdir(os.path.join(tmp, "outdir"))
    open(os.path.join(tmp, "g.fasta"), "w").close()
    for words, expected in [(["--refine-c"], ["--refine-cutoff"]), (["--measure", "kl"], ["kl", "kl-markov"]),
                            (["-o", ""], ["outdir"]), (["--cutoff", ""], ["auto"]), (["-k", ""], []),
                            (["g."], ["g.fasta"])]:
        script = (f'source {os.path.join(docs, "morvale-run.bash")}; '
                  f'COMP_WORDS=(morvale-run {" ".join(repr(w) for w in words)}); '
                  f'COMP_CWORD={len(words)}; _morvale_run; printf "%s\\n" "${{COMPREPLY[@]}}"')
        got = sorted(w for w in run(["bash", "-c", script], cwd=tmp).stdout.split("\n") if w)
        check(got == expected, f"completion of {words}: {got}, expected {expected}")

    # cmake --install: programs, compressed manual pages, completion, the example, copyright.
    prefix = os.path.join(tmp, "prefix")
    installed = run(["cmake", "--install", build, "--prefix", prefix])
    check(installed.returncode == 0, "cmake --install failed: " + installed.stderr)
    for path in [f"bin/morvale{p}" for p in PROGRAMS] + [f"share/man/man1/morvale{p}.1.gz" for p in PROGRAMS] + [
            "share/bash-completion/completions/morvale-run", "share/morvale/example-answers.txt",
            "share/morvale/ecoli300k_with_inserts.fasta", "share/morvale/ecoli300k_with_inserts.truth.tsv",
            "share/doc/morvale/copyright", "share/doc/morvale/changelog.gz"]:
        check(os.path.isfile(os.path.join(prefix, path)), f"cmake --install wrote no {path}")
    # The installed answers run the worked example as they are, in any folder.
    os.mkdir(os.path.join(tmp, "run"))
    with open(os.path.join(prefix, "share/morvale/example-answers.txt")) as answers:
        dialogue = run([os.path.join(prefix, "bin/morvale")], stdin=answers, cwd=os.path.join(tmp, "run"))
    check(dialogue.returncode == 0 and os.path.isfile(os.path.join(tmp, "run/KL-first-Islands.txt")),
          f"the installed answers end with {dialogue.returncode}: {dialogue.stdout[-200:]}")

groff = shutil.which("groff")
if groff:
    for name in [f"morvale{p}.1" for p in PROGRAMS]:
        warned = run([groff, "-man", "-ww", "-z", os.path.join(docs, name)]).stderr
        check(warned == "", f"groff warns on {name}: {warned}")
if check.failures or groff:
    check.finish()
print("groff is missing: the manual pages were not checked by it")
sys.exit(77)
