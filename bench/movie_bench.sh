#!/usr/bin/env bash
# Decodes every frame of the 30-second Motion-JPEG movie through our movie
# layer and through ffmpeg (-f null), and prints both rates and their ratio.
# Usage: bench/movie_bench.sh BUILD_DIR (Wine environment already set).
set -euo pipefail
build=$(cd "$1" && pwd)
movie=$build/bench/movies/bench30.mov
ours=$(wine "$build/bench/bench_movies.exe" | tee /dev/stderr | sed -n 's/.*: \([0-9.]*\) frames per second/\1/p')
frames=$(ffprobe -v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$movie")
start=$(date +%s.%N)
ffmpeg -v error -i "$movie" -f null -
end=$(date +%s.%N)
theirs=$(python3 -c "print('%.1f' % ($frames / ($end - $start)))")
echo "ffmpeg -f null: $frames frames: $theirs frames per second"
python3 -c "print('ratio (ours / ffmpeg): %.2f' % ($ours / $theirs))"
