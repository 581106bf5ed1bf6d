#!/usr/bin/env bash
# Writes a small seed corpus for each fuzz target into DIR (default: corpus/).
set -euo pipefail
dir="${1:-corpus}"
mkdir -p "$dir/genome" "$dir/scores" "$dir/islands"
printf '>seq one\nACGTacgtNNNN\r\nAC-GT\n>two\nttgca\n' > "$dir/genome/fasta"
printf 'ACGT\nacgt\n' > "$dir/genome/bare"
printf '>header without line end' > "$dir/genome/header"
printf '\x1f\x8b\x08\x00acgt' > "$dir/genome/gzip"
printf '5000\t2500\t0.01\n5000\t3500\t0.002\n6000\t3000\t1.2e-05\n' > "$dir/scores/first"
printf '3001\t1500.5\t0.01\n3001\t1500.5\t0.08\n3001\t1500.5\t0.02\n' > "$dir/scores/refinement"
printf '5000\t2500\t0.01\n5000\t2500\t0.01\n5000 1234567 nan\n-4 7' > "$dir/scores/odd"
printf '1\t1200\n2000\t3000\n' > "$dir/islands/pairs"
printf '100 200 150 400 7' > "$dir/islands/bad"
printf '10\n20\n4000\n9000\n' > "$dir/islands/clipped"
