# bash completion for moxon-cli: its commands, each command's options and the fixed values
# of those options. Stands alone, so it works without the bash-completion package's helpers.

_moxon_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # bash splits "--units=mm" at the "=" into three words: complete the value after it.
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then
        prev=${COMP_WORDS[COMP_CWORD - 2]}
    fi
    COMPREPLY=()

    if ((COMP_CWORD == 1)); then
        mapfile -t COMPREPLY < <(compgen -W 'design export check tune tolerance trim diagnose sheet --help --version' -- "$cur")
        return 0
    fi

    local values=
    case $prev in
        --wire-unit) values='in mm AWG' ;;
        -u | --units) values='ft in m mm' ;;
        --format) values='nec ez' ;;
        --pol) values='h v' ;;
        --sweep) values='fitted full' ;;
        --axis) values='x y' ;;
        # The names as the commands' --help lists them under "Named values:".
        --ground) values='free perfect very-poor poor average very-good fresh-water sea-water' ;;
        --conductor) values='perfect copper aluminium' ;;
        --insulation) values='pvc polyethylene ptfe' ;;
        --goal) values='match front-to-back band' ;;
        --language) values='en zh' ;;
        # A line of one's own, Z0,VF,DB,MHZ, is typed.
        --feedline) values='RG-58 RG-8X RG-213 LMR-400 Aircell-7' ;;
        --measured-at) values='antenna radio' ;;
        -o | --output | --deck | --measured | --pdf)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return 0
            ;;
        # Numbers and wire sizes: nothing sensible to offer.
        -f | --freq | -w | --wire | --height | --band | --built | --cut-error | --dip | --target | \
            --wrap-allowance | --feed-gap | --insulation-thickness | --feedline-length)
            return 0
            ;;
    esac
    if [[ -n $values ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur")
        return 0
    fi

    local options='--freq --wire --wire-unit --units --json --help'
    case ${COMP_WORDS[1]} in
        design) options+=' --band-plan' ;;
        export) options+=' --pol --axis --format --output' ;;
        check) options+=' --pol --axis --height --ground --conductor --insulation --insulation-thickness --feedline --feedline-length --deck --sweep' ;;
        tune) options+=' --pol --axis --height --ground --conductor --insulation --insulation-thickness --feedline --feedline-length --deck --goal --band --format --output' ;;
        tolerance) options+=' --pol --axis --height --ground --conductor --insulation --insulation-thickness --feedline --feedline-length --built --cut-error' ;;
        trim) options+=' --pol --axis --height --ground --conductor --insulation --insulation-thickness --feedline --feedline-length --built --measured --measured-at --dip --target --trim-gap' ;;
        diagnose) options+=' --pol --axis --height --ground --conductor --insulation --insulation-thickness --feedline --feedline-length --built --measured --measured-at --target --fit-gap --trim-gap' ;;
        sheet) options+=' --pol --axis --height --ground --conductor --insulation --insulation-thickness --feedline --feedline-length --deck --sweep --built --pdf --wrap-allowance --feed-gap --tolerances --language' ;;
        *) return 0 ;;
    esac
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return 0
}
complete -F _moxon_cli moxon-cli
