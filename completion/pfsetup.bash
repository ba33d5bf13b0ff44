# Bash completion for pfsetup: commands, options, files, and the setting keys the tool itself
# lists (`pfsetup keys --names`), so the keys are always those of the installed tool.

_pfsetup_keys()
{
    local keys
    keys=$("${1:-pfsetup}" keys --names 2>/dev/null)
    COMPREPLY=($(compgen -W "$keys" -- "$cur"))
}

_pfsetup_files()
{
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}

_pfsetup()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local tool=${COMP_WORDS[0]}
    local commands="init show get set unset diff keys template pin check tree dialog"
    local command="" at=0 i

    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        -*) ;;
        *)
            command=${COMP_WORDS[i]}
            at=$i
            break
            ;;
        esac
    done
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $command/$prev in
    pin/--project | dialog/--template | dialog/--screenshot)
        _pfsetup_files
        return
        ;;
    dialog/--mode)
        COMPREPLY=($(compgen -W "0 1 2 3" -- "$cur"))
        return
        ;;
    dialog/--page)
        COMPREPLY=($(compgen -W "0 1 2 3 4" -- "$cur"))
        return
        ;;
    esac

    if [[ $cur == -* ]]; then
        local options=""
        case $command in
        init) options="--force" ;;
        show) options="--json --origin --changed --site" ;;
        get | set | unset) options="--site" ;;
        keys) options="--json --names" ;;
        pin) options="--project --json" ;;
        dialog) options="--interpretation --mode --template --screenshot --page" ;;
        esac
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi

    # The operands before the word being completed, and whether --site stands for PROJECT.
    local operands=0 site=0
    for ((i = at + 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
        --site) site=1 ;;
        --project | --mode | --template | --screenshot | --page) ((i++)) ;;
        -*) ;;
        *) ((operands++)) ;;
        esac
    done
    local keyAt=$((1 - site)) # operands before the first KEY

    case $command in
    get | unset)
        if ((operands < keyAt)); then
            _pfsetup_files
        elif ((operands == keyAt)); then
            _pfsetup_keys "$tool"
        fi
        ;;
    set)
        if ((operands < keyAt)); then
            _pfsetup_files
        elif (((operands - keyAt) % 2 == 0)); then
            _pfsetup_keys "$tool"
        fi
        ;;
    keys)
        ((operands == 0)) && _pfsetup_keys "$tool"
        ;;
    template)
        if ((operands == 0)); then
            COMPREPLY=($(compgen -W "save load convert" -- "$cur"))
        else
            _pfsetup_files
        fi
        ;;
    pin) ;;
    *)
        _pfsetup_files
        ;;
    esac
}

complete -F _pfsetup pfsetup
