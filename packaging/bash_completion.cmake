# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the bash completion of songloader-cli from the program's own command list:
#   cmake -DCLI=path/to/songloader-cli -DOUT=file -P bash_completion.cmake
# The commands come from `songloader-cli --help`, each command's options from its usage line, so
# a new command or option is completed without editing this file.
# In English whatever the builder's language: the completion reads the help's words.
set(english ${CMAKE_COMMAND} -E env --unset=LANGUAGE LC_ALL=C)
execute_process(COMMAND ${english} ${CLI} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed")
endif()
string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*  " command_lines "${usage}")
set(commands "")
set(option_cases "")
set(value_cases "")
foreach(line IN LISTS command_lines)
  string(STRIP "${line}" command)
  list(APPEND commands ${command})
  execute_process(COMMAND ${english} ${CLI} ${command} --help OUTPUT_VARIABLE help)
  string(REGEX MATCH "^usage: [^\n]*" usage_line "${help}")
  string(REGEX MATCHALL "--[a-z][a-z0-9-]*" options "${usage_line}")
  list(APPEND options --encoding --help)
  list(REMOVE_DUPLICATES options)
  list(JOIN options " " options)
  string(APPEND option_cases "        ${command}) options=\"${options}\" ;;\n")
  # "--name A|B|C" completes the choices; "--name DIR" a folder; "--name VALUE" nothing.
  string(REGEX MATCHALL "--[a-z][a-z0-9-]* [^] []+" valued "${usage_line} --encoding NAME")
  list(REMOVE_DUPLICATES valued)
  foreach(pair IN LISTS valued)
    string(REGEX REPLACE " .*" "" option "${pair}")
    string(REGEX REPLACE "^[^ ]+ " "" value "${pair}")
    if(value MATCHES "\\|")
      string(REPLACE "|" " " choices "${value}")
      string(APPEND value_cases "        ${command}:${option}) COMPREPLY=( $(compgen -W \"${choices}\" -- \"$cur\") ); return ;;\n")
    elseif(value STREQUAL "DIR")
      string(APPEND value_cases "        ${command}:${option}) COMPREPLY=( $(compgen -d -- \"$cur\") ); return ;;\n")
    else()
      string(APPEND value_cases "        ${command}:${option}) return ;;\n")
    endif()
  endforeach()
endforeach()
if(NOT commands)
  message(FATAL_ERROR "no commands found in the usage of ${CLI}")
endif()
list(JOIN commands " " commands)

file(WRITE ${OUT} "# bash completion for songloader-cli (generated from its --help)
_songloader_cli() {
    local cur prev command options
    COMPREPLY=()
    cur=\${COMP_WORDS[COMP_CWORD]}
    prev=\${COMP_WORDS[COMP_CWORD-1]}
    if [ \"\$COMP_CWORD\" -eq 1 ]; then
        COMPREPLY=( \$(compgen -W \"${commands} --help --version\" -- \"\$cur\") )
        return
    fi
    command=\${COMP_WORDS[1]}
    case \"\$command:\$prev\" in
${value_cases}    esac
    case \"\$command\" in
${option_cases}        *) return ;;
    esac
    if [[ \"\$cur\" == -* ]]; then
        COMPREPLY=( \$(compgen -W \"\$options\" -- \"\$cur\") )
    else
        COMPREPLY=( \$(compgen -f -- \"\$cur\") )
    fi
}
complete -o filenames -F _songloader_cli songloader-cli
")
