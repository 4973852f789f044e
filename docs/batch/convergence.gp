# The convergence plot of README.md: best value so far against evaluations, one line a run,
# from the long format of a sweep (scripts/sweep.sh --format long --dir sweep-long ...).
# Run from the project folder: gnuplot docs/batch/convergence.gp
set datafile separator ','
set terminal png size 800,500
set output 'docs/batch/convergence.png'
set logscale xy
set xlabel 'evaluations'
set ylabel 'best so far'
set key top right
algs = 'greedy steepest annealing genetic'
plot for [i=1:4] for [s=1:30] 'sweep-long/joined.csv' \
  using (strcol(1) eq word(algs,i) && $4 == s ? $6 : NaN):8 \
  with steps lc i lw 1 title (s == 1 ? word(algs,i) : '')
