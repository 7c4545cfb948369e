# bash completion for tlxexport
#
# Everything is read from the program's own usage texts, so that the
# completion always matches the installed program: the commands from
# `tlxexport --help`, a command's options from `tlxexport COMMAND --help`,
# and what a word takes from the name it has there. IN.tlx completes .tlx
# files, FILE.ue .ue files, OUTDIR folders, FILE any file, dxf|mif|shp|text
# and ask|all|none those words, show itself.

# Completes the current word as the usage word $1 asks.
_tlxexport_complete_as()
{
    local kind=$1
    case $kind in
        *'|'*) mapfile -t COMPREPLY < <(compgen -W "${kind//|/ }" -- "$cur") ;;
        *DIR) _filedir -d ;;
        *.*) _filedir "${kind##*.}" ;;
        [a-z]*) mapfile -t COMPREPLY < <(compgen -W "$kind" -- "$cur") ;;
        *) _filedir ;;
    esac
}

_tlxexport()
{
    local cur prev words cword
    _init_completion || return
    local program=${words[0]}

    if ((cword == 1)); then
        local commands
        commands=$("$program" --help 2>/dev/null | awk '$1 == "tlxexport" && $2 !~ /^-/ { print $2 }')
        mapfile -t COMPREPLY < <(compgen -W "$commands --help --version" -- "$cur")
        return
    fi

    local help
    help=$("$program" "${words[1]}" --help 2>/dev/null) || return
    # "  --log FILE   text": an option with the value it takes.
    local -A value_of=()
    local option value
    while read -r option value _; do
        [[ $option == --* ]] || continue
        [[ $value == [A-Z]* || $value == *'|'* ]] && value_of[$option]=$value
    done < <(printf '%s\n' "$help" | grep -E '^  --')

    if [[ -n $prev && -n ${value_of[$prev]-} ]]; then
        _tlxexport_complete_as "${value_of[$prev]}"
        return
    fi
    if [[ $cur == -* ]]; then
        local options
        options=$(printf '%s\n' "$help" | grep -oE -- '--[a-z][a-z-]*')
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur" | sort -u)
        return
    fi

    # The positional words of "Usage: tlxexport COMMAND WORDS [--option...]".
    local usage
    usage=$(printf '%s\n' "$help" | sed -n 's/^Usage: tlxexport [^ ]* //p' | head -n 1)
    usage=$(sed -e 's/\[-[^]]*\]//g' -e 's/[][]//g' <<<"$usage")
    local -a slots
    read -ra slots <<<"$usage"
    local i n=0
    for ((i = 2; i < cword; i++)); do
        if [[ -n ${words[i]} && -n ${value_of[${words[i]}]-} ]]; then
            i=$((i + 1))
        elif [[ ${words[i]} != -* ]]; then
            n=$((n + 1))
        fi
    done
    ((n < ${#slots[@]})) && _tlxexport_complete_as "${slots[n]}"
} &&
    complete -F _tlxexport tlxexport
