# bash completion for ftvb-convert                         -*- shell-script -*-

# FORTRAN sources first; with none to offer in the folder at hand, any file,
# since fixed-form sources come under many names.
_ftvb_convert_sources()
{
    _filedir '@(for|f|f77|ftn)'
    local f
    for f in "${COMPREPLY[@]}"; do
        [[ -d $f ]] || return 0
    done
    COMPREPLY=()
    _filedir
}

_ftvb_convert()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        -o | --output)
            _filedir
            return
            ;;
        -h | --help | --version)
            return
            ;;
    esac
    if $split; then
        [[ $prev == --review ]] && _filedir
        return
    fi

    local i
    for ((i = 1; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _ftvb_convert_sources
            return
        fi
    done

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '-o --output= -q --quiet --review --review= --finish -h --help --version --' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _ftvb_convert_sources
} &&
    complete -F _ftvb_convert ftvb-convert

# ex: filetype=sh
