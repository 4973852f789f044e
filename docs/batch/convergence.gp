# The convergence plot of README.md: best value so far against evaluations, one line a run,
# from the long format of a sweep (scripts/sweep.sh --format long --dir sweep-long ...).
# Run from the project folder: gnuplot docs/batch/convergence.gp
# or on another table: gnuplot -e "data='long.csv'; out='plot.png'; seeds=10" convergence.gp
# The picture goes to docs/batch/convergence.png in the project folder, else to convergence.png
# in the current folder (as where the script is installed, /usr/share/quarmel/scripts).
if (!exists("data")) data = 'sweep-long/joined.csv'
if (!exists("out")) out = system("test -d docs/batch && echo docs/batch/convergence.png || echo convergence.png")
if (!exists("seeds")) seeds = 30
if (!exists("first")) first = 1
set datafile separator ','
set datafile columnheaders
set terminal png size 800,500
set output out
set logscale xy
set xlabel 'evaluations'
set ylabel 'best so far'
set key top right
algs = 'greedy steepest annealing genetic'
plot for [i=1:4] for [s=first:first+seeds-1] data \
  using (strcol('algorithm') eq word(algs,i) && column('seed') == s ? column('evaluations') : NaN):'best_so_far' \
  with steps lc i lw 1 title (s == first ? word(algs,i) : '')
