# until_ CMD...: CMD, every tenth of a second until it succeeds, at most TRIES (100) times.
until_() { local i; for ((i = 0; i < ${TRIES:-100}; i++)); do "$@" && return 0; sleep 0.1; done; return 1; }
