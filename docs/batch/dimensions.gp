# The scaling figure of README.md: each algorithm's median best value against the number of
# variables, from a summary table of one function family (quarmel-batch --format summary, the
# calls of every algorithm joined; see the README's "Reference algorithms").
# Run: gnuplot -e "data='dimensions.csv'; out='dimensions.png'" dimensions.gp
# A median of 0 is drawn at `floor` (log scale), and the key says so.
if (!exists("data")) data = 'dimensions.csv'
if (!exists("out")) out = 'dimensions.png'
if (!exists("floor")) floor = 1e-12
set datafile separator ','
set datafile columnheaders
set terminal pngcairo size 800,500 noenhanced
set output out
set logscale y
set format y '%.0e'
set xlabel 'variables'
set ylabel sprintf('median best value (0 drawn at %g)', floor)
set key outside right
set xtics 1
set offsets 0.3, 0.3, 0, 0
if (!exists("algs")) algs = system("awk -F, 'NR == 1 { for (i = 1; i <= NF; ++i) if ($i == \"algorithm\") c = i; next } !seen[$c]++ { printf \"%s \", $c }' " . data)
plot for [i=1:words(algs)] data \
  using (strcol('algorithm') eq word(algs,i) ? column('dimension') : NaN):(column('median') > floor ? column('median') : floor) \
  with linespoints lw 2 pt 7 title word(algs,i)
