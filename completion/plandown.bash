# Bash completion for plandown: commands, options, the values of options that take one of
# a fixed set, and file and folder arguments. Installed as
# share/bash-completion/completions/plandown; `source` it to try it without installing.

_plandown() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  # "--to=3.5": bash splits the word at "=" (COMP_WORDBREAKS).
  if [[ $cur == = ]]; then
    cur=
  elif [[ $prev == = && $COMP_CWORD -ge 2 ]]; then
    prev=${COMP_WORDS[COMP_CWORD-2]}
  fi

  local command= i
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      --) break ;;
      info | list | convert | help) command=${COMP_WORDS[i]}; break ;;
    esac
  done

  local values=
  case $command:$prev in
    convert:--to) values="6.00 4.20 3.51 3.00" ;;
    convert:--image-format) values="same bmp gif png jpeg jpg tiff tif" ;;
    convert:--jpeg-quality | convert:--jobs | convert:-j) return 0 ;;
    convert:--out | convert:-o)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$cur")
      return 0 ;;
    convert:--report | convert:--settings | convert:--files-from)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur")
      return 0 ;;
    list:--filter) values="all jw jww jws jwc jwk" ;;
    list:--sort) values="name type memo modified size version" ;;
  esac
  if [[ -n $values ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$values" -- "$cur")
    return 0
  fi

  local options
  case $command in
    '') options="-h --help -V --version" ;;
    help) options= ;;
    info) options="-h --help --json" ;;
    list) options="-h --help --filter --sort --desc --json" ;;
    convert)
      options="-h --help -o --out --to --image-format --jpeg-quality --convert-images
        --delete-source-image --settings -r --recursive -j --jobs --report -v --verbose
        --files-from --null" ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return 0
  fi

  case $command in
    '') mapfile -t COMPREPLY < <(compgen -W "info list convert help" -- "$cur") ;;
    help)
      [[ $COMP_CWORD -eq $((i + 1)) ]] && mapfile -t COMPREPLY < <(compgen -W "info list convert" -- "$cur") ;;
    list)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    *)
      compopt -o filenames 2>/dev/null
      mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
  esac
  return 0
}

complete -F _plandown plandown
