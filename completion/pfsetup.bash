# Bash completion for pfsetup: commands, options and their arguments, files, the setting keys
# and the values of keys with fixed choices. The keys and values come from the tool itself
# (`pfsetup keys --names`, `pfsetup keys --choices KEY`, and the Prop_ keys of the project
# from `pfsetup show --list`), so they are always those of the installed tool.

# The setting keys, and with a project (or --site) its Prop_ keys.
_pfsetup_keys()
{
    local tool=$1 keys
    shift
    keys=$("$tool" keys --names 2>/dev/null)
    if (($#)); then
        keys+=$'\n'$("$tool" show --list "$@" 2>/dev/null | sed -n 's/^\(Prop_[^=]*\)=.*/\1/p')
    fi
    COMPREPLY=($(compgen -W "$keys" -- "$cur"))
}

_pfsetup_values()
{
    COMPREPLY=($(compgen -W "$("$1" keys --choices -- "$2" 2>/dev/null)" -- "$cur"))
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
    local commands="init show get set unset diff keys template pin check tree dialog help"
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
    if [[ $command == template ]]; then
        if ((COMP_CWORD == at + 1)); then
            COMPREPLY=($(compgen -W "save load convert" -- "$cur"))
            return
        fi
        command=template-${COMP_WORDS[at + 1]}
        ((at++))
    fi

    # The options that take an argument, and what completes it.
    local prev=${COMP_WORDS[COMP_CWORD - 1]} valued="--wait"
    case $command in
    set) valued+=" --json" ;;
    pin) valued+=" --project" ;;
    dialog) valued+=" --mode --template --screenshot --page" ;;
    esac
    if [[ " $valued " == *" $prev "* ]]; then
        case $prev in
        --mode) COMPREPLY=($(compgen -W "0 1 2 3" -- "$cur")) ;;
        --page) COMPREPLY=($(compgen -W "0 1 2 3 4" -- "$cur")) ;;
        --wait) ;;
        *) _pfsetup_files ;;
        esac
        return
    fi

    # The operands before the word being completed: options and their arguments do not count,
    # and every word after -- is an operand.
    local operands=() site=0 only=0
    for ((i = at + 1; i < COMP_CWORD; i++)); do
        local word=${COMP_WORDS[i]}
        if ((only)) || [[ $word != -?* ]]; then
            operands+=("$word")
        elif [[ $word == -- ]]; then
            only=1
        elif [[ $word == --site ]]; then
            site=1
        elif [[ " $valued " == *" $word "* ]]; then
            ((i++))
        fi
    done

    if ((!only)) && [[ $cur == -* ]]; then
        local options=""
        case $command in
        init) options="--force --wait" ;;
        show) options="--json --list --origin --changed --site" ;;
        get) options="--site" ;;
        set) options="--site --json --wait" ;;
        unset) options="--site --wait" ;;
        diff) options="--json" ;;
        keys) options="--json --names --choices" ;;
        template-save) options="--force --wait" ;;
        template-*) options="--wait" ;;
        pin) options="--project --json" ;;
        dialog) options="--interpretation --mode --template --screenshot --page --wait" ;;
        esac
        COMPREPLY=($(compgen -W "$options --help --" -- "$cur"))
        return
    fi

    local project=()
    ((site)) && project=(--site)
    local keyAt=$((1 - site)) # operands before the first KEY
    ((!site && ${#operands[@]} > 0)) && project=("${operands[0]}")
    local n=${#operands[@]}

    case $command in
    get | unset)
        if ((n < keyAt)); then
            _pfsetup_files
        elif ((n == keyAt)); then
            _pfsetup_keys "$tool" "${project[@]}"
        fi
        ;;
    set)
        if ((n < keyAt)); then
            _pfsetup_files
        elif (((n - keyAt) % 2 == 0)); then
            _pfsetup_keys "$tool" "${project[@]}"
        else
            _pfsetup_values "$tool" "${operands[n - 1]}"
        fi
        ;;
    keys)
        ((n == 0)) && _pfsetup_keys "$tool"
        ;;
    help)
        ((n == 0)) && COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        ((n == 1)) && [[ ${operands[0]} == template ]] &&
            COMPREPLY=($(compgen -W "save load convert" -- "$cur"))
        ;;
    pin) ;;
    *)
        _pfsetup_files
        ;;
    esac
}

complete -F _pfsetup pfsetup
