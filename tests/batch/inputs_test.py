#!/usr/bin/env python3
"""Real inputs through the real programs: annotation text with ; = & , % < " tab and line ends
(tracks gt and bedtools accept, tables that keep their columns, pages that escape it); GenBank
after a byte-order mark or a blank line; duplicate record names; a '>' inside a line.
usage: inputs_test.py MORVALE_RUN MORVALE MORVALE_REPORT GENOME.fasta"""
import os, shutil, sys, tempfile
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from cli_support import Checks, rows, run, summary, write  # noqa: E402

run_bin, dialogue_bin, report_bin, fasta = sys.argv[1:5]
letters = ''.join(l.strip() for l in open(fasta) if not l.startswith('>'))
work = tempfile.mkdtemp(prefix='morvale-inputs-')
os.chdir(work)
check = Checks()

# Annotation text that needs escaping everywhere; features all along the genome.
name = 'r<&"1;x=y%'
tag = 'T;=&,%'
product = 'integrase a<b & "c"\tand\nmore\rstill'
enc = lambda s: ''.join('%%%02X' % ord(c) if c in ';=&,%\t\n\r' else c for c in s)
seqid = ''.join(c if c.isalnum() or c in '.:^*$@!+_?-|' else '%%%02X' % ord(c) for c in name)
write('odd.fasta', '>' + name + ' a record\n' + letters + '\n')
write('odd.gff3', '##gff-version 3\n' + ''.join(
    f'{seqid}\tt\tCDS\t{start}\t{start + 1499}\t.\t+\t0\t'
    f'ID=c{i};locus_tag={enc(tag)}{i};product={enc(product)}\n'
    for i, start in enumerate(range(1, len(letters) - 2000, 3000))))
r = run([run_bin, '-q', '-o', 'out', '--annotation', 'odd.gff3', 'odd.fasta'])
check(r.returncode == 0, 'annotated run: ' + r.stderr)
out = 'out/odd/'
for tool in (['gt', 'gff3validator', out + 'islands.gff3'], ['bedtools', 'merge', '-i', out + 'islands.bed']):
    r = shutil.which(tool[0]) and run(tool)  # the output of either is never empty
    check(not r or r.returncode == 0 and r.stdout.strip(), ' '.join(tool[:2]) + ': ' + (r and r.stderr))
for table in ('islands.tsv', 'genes.tsv'):
    table_rows = rows(out + table)
    check(len(table_rows) > 1 and all(len(r) == len(table_rows[0]) for r in table_rows), table)
check(tag in open(out + 'genes.tsv').read(), 'genes.tsv names the genes')
for page in ('scores.svg', 'report.html'):
    text = open(out + page).read()
    check('r&lt;&amp;&quot;1' in text and name not in text, page + ' escapes the record name')
check('a&lt;b &amp; &quot;c&quot;' in text and 'a<b' not in text, 'page escapes products')

# GenBank after a byte-order mark or a blank line: read with its features by
# morvale-run, refused by the dialogue as a plain GenBank file is.
body = 'LOCUS       gbrec  %d bp    DNA\nACCESSION   gbrec\nVERSION     gbrec.1\n' % len(letters)
body += 'FEATURES             Location/Qualifiers\n'
for start in range(1, len(letters) - 2000, 3000):
    body += '     CDS             %d..%d\n                     /locus_tag="G%d"\n' % (
        start, start + 1499, start)
body += 'ORIGIN\n' + ''.join('%9d %s\n' % (i + 1, letters[i:i + 60])
                             for i in range(0, len(letters), 60)) + '//\n'
dialogue_says = {}
for file, head in (('plain.gb', ''), ('bom.gb', '\ufeff'), ('blank.gb', '\n  \n')):
    write(file, head + body)
    r = run([run_bin, '-q', '-o', 'gb_' + file[:-3], file])
    got = summary('gb_' + file[:-3])[file[:-3]]['length']
    check(r.returncode == 0 and got == str(len(letters)), file + ': ' + r.stderr)
    check(os.path.exists('gb_%s/%s/genes.tsv' % (file[:-3], file[:-3])), file + ' has genes')
    answers = '6\n1\n2\n5000\n100\n30\n1000\n1000\n%s\n0.01\n2\nn\nn\n' % file
    d = run([dialogue_bin], input=answers)
    dialogue_says[file] = (d.returncode, d.stdout.replace(file, 'F'), d.stderr.replace(file, 'F'))
check(dialogue_says['plain.gb'][0] != 0, 'the dialogue refuses GenBank')
check(dialogue_says['bom.gb'] == dialogue_says['plain.gb'] == dialogue_says['blank.gb'],
      'the dialogue refuses every GenBank file alike')

# Two records of one name: refused by morvale-run and morvale-report, named.
write('dup.fasta', ('>dup one\n' + letters[:200000] + '\n>dup two\n' + letters[200000:] + '\n'))
r = run([run_bin, '-q', '-o', 'dup', 'dup.fasta'])
check(r.returncode == 1 and 'two records are named dup' in open('dup/summary.tsv').read(),
      'morvale-run refuses duplicate names')
r = run([report_bin, 'dup.fasta', 'none.txt', 'none.txt'])
check(r.returncode == 1 and 'two records are named dup' in r.stderr, 'morvale-report: ' + r.stderr)

# A '>' inside a line starts a header there, with a warning naming file and line.
write('inside.fasta', '>a\n' + letters[:200000] + '\nACGT>b\n' + letters[200000:] + '\n')
r = run([run_bin, '-q', '-o', 'inside', 'inside.fasta'])
check(r.returncode == 0 and
      "inside.fasta: line 3: '>' inside a line starts a header there" in r.stderr,
      'warning for a header inside a line: ' + r.stderr)

shutil.rmtree(work)
check.finish()
