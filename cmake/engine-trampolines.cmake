# Writes, from the list of engine functions the runtime calls, the jumps that stand in for them
# and the table that LoadEngine() fills. Run at build time:
#   cmake -DLIST=engine_functions.list -DARCH=x86_64|aarch64 -DASM=out.S -DTABLE=out.cpp
#         -DPROBE=probe.c -P this
# PROBE is a program that refers to every listed function and links the engine: dpkg-shlibdeps,
# run over it, names the engine's packages at the versions that have all of them.
# Each function NAME gets a hidden symbol NAME in the runtime that jumps through slot i of
# quillora_engine_slots. Until the engine is loaded every slot holds quillora_engine_not_loaded,
# so an early call ends the program with a message instead of jumping to address 0.
cmake_minimum_required(VERSION 3.25)

foreach(input LIST ARCH ASM TABLE PROBE)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "engine-trampolines.cmake needs -D${input}=...")
  endif()
endforeach()

file(STRINGS "${LIST}" lines)
set(names "")
foreach(line IN LISTS lines)
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "${LIST}: \"${line}\" is not a function name")
  endif()
  if(line IN_LIST names)
    message(FATAL_ERROR "${LIST}: ${line} is listed twice")
  endif()
  list(APPEND names "${line}")
endforeach()
list(LENGTH names count)
if(count EQUAL 0)
  message(FATAL_ERROR "${LIST} names no function")
endif()

if(ARCH STREQUAL "x86_64")
  # endbr64 only where the build asks for indirect-branch tracking: a function pointer to an
  # engine function is the jump's address.
  set(landing "#ifdef __CET__\n    endbr64\n#endif\n")
  set(word ".quad")
elseif(ARCH STREQUAL "aarch64")
  set(landing "#if defined(__ARM_FEATURE_BTI_DEFAULT)\n    hint #34\n#endif\n")
  set(word ".xword")
else()
  message(FATAL_ERROR "no engine jumps for the architecture ${ARCH}")
endif()

get_filename_component(list_name "${LIST}" NAME)
set(asm "// Generated from ${list_name} by engine-trampolines.cmake; do not edit.\n")
string(APPEND asm "    .text\n")
set(table "// Generated from ${list_name} by engine-trampolines.cmake; do not edit.\n")
string(APPEND table "#include <span>\n\n#include \"engine/engine_functions.hpp\"\n\n")
string(APPEND table "extern \"C\" __attribute__((visibility(\"hidden\"))) void* quillora_engine_slots[${count}];\n\n")
string(APPEND table "namespace quillora {\n\nnamespace {\n\nconst LibraryFunction engine_functions[] = {\n")
set(probe "/* Generated from ${list_name} by engine-trampolines.cmake; do not edit. */\n")
set(index 0)
foreach(name IN LISTS names)
  string(APPEND probe "void ${name}(void);\n")
  math(EXPR offset "${index} * 8")
  string(APPEND asm "\n    .globl ${name}\n    .hidden ${name}\n    .type ${name}, %function\n")
  string(APPEND asm "    .p2align 4\n${name}:\n${landing}")
  if(ARCH STREQUAL "x86_64")
    string(APPEND asm "    jmp *quillora_engine_slots+${offset}(%rip)\n")
  else()
    string(APPEND asm "    adrp x16, quillora_engine_slots+${offset}\n")
    string(APPEND asm "    ldr x16, [x16, #:lo12:quillora_engine_slots+${offset}]\n")
    string(APPEND asm "    br x16\n")
  endif()
  string(APPEND asm "    .size ${name}, .-${name}\n")
  string(APPEND table "    {\"${name}\", &quillora_engine_slots[${index}]},\n")
  math(EXPR index "${index} + 1")
endforeach()

string(APPEND asm "\n    .data\n    .p2align 3\n    .globl quillora_engine_slots\n")
string(APPEND asm "    .hidden quillora_engine_slots\n    .type quillora_engine_slots, %object\n")
string(APPEND asm "quillora_engine_slots:\n")
foreach(name IN LISTS names)
  string(APPEND asm "    ${word} quillora_engine_not_loaded\n")
endforeach()
math(EXPR bytes "${count} * 8")
string(APPEND asm "    .size quillora_engine_slots, ${bytes}\n")
# No executable stack for the runtime because of this file.
string(APPEND asm "\n    .section .note.GNU-stack,\"\",%progbits\n")

string(APPEND table "};\n\n}  // namespace\n\n")
string(APPEND table "std::span<const LibraryFunction> EngineFunctions()\n{\n    return engine_functions;\n}\n\n")
string(APPEND table "}  // namespace quillora\n")

string(APPEND probe "\nvoid (*const volatile engine_functions[])(void) = {\n")
foreach(name IN LISTS names)
  string(APPEND probe "    ${name},\n")
endforeach()
string(APPEND probe "};\n\nint main(void)\n{\n    return engine_functions[0] == 0;\n}\n")

# Rewritten only when different, so that an unchanged list rebuilds nothing.
file(CONFIGURE OUTPUT "${ASM}" CONTENT "${asm}" @ONLY)
file(CONFIGURE OUTPUT "${TABLE}" CONTENT "${table}" @ONLY)
file(CONFIGURE OUTPUT "${PROBE}" CONTENT "${probe}" @ONLY)
