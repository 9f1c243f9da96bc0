# The recorded clips, carried inside the program: compiled-in bytes on Linux, WAVE resources
# (language French) on Windows. The list is the files of resources/clips/.
file(GLOB TINTAL_CLIP_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/clips/*.wav)
list(SORT TINTAL_CLIP_FILES)
list(LENGTH TINTAL_CLIP_FILES TINTAL_CLIP_COUNT)
if(NOT TINTAL_CLIP_COUNT EQUAL 150)
  message(FATAL_ERROR "resources/clips holds ${TINTAL_CLIP_COUNT} clips, not 150")
endif()

if(WIN32)
  set(rc "#pragma code_page(65001)\n// French (France): LANG_FRENCH, SUBLANG_FRENCH\nLANGUAGE 0x0C, 0x01\n")
  foreach(file ${TINTAL_CLIP_FILES})
    get_filename_component(name ${file} NAME_WE)
    string(APPEND rc "${name} WAVE \"${file}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/clips.rc CONTENT "${rc}")
  # An object library, so that every program linking it carries the resources.
  add_library(tintal_clips OBJECT ${CMAKE_BINARY_DIR}/generated/clips.rc)
  set_source_files_properties(${CMAKE_BINARY_DIR}/generated/clips.rc PROPERTIES OBJECT_DEPENDS "${TINTAL_CLIP_FILES}")
else()
  enable_language(ASM)
  set(asm ".section .rodata\n")
  set(table "")
  set(index 0)
  foreach(file ${TINTAL_CLIP_FILES})
    get_filename_component(name ${file} NAME_WE)
    string(APPEND asm ".balign 16\nclip_${index}: .incbin \"${file}\"\nclip_${index}_end:\nclip_${index}_name: .asciz \"${name}\"\n")
    string(APPEND table ".dc.a clip_${index}_name, clip_${index}, clip_${index}_end - clip_${index}\n")
    math(EXPR index "${index} + 1")
  endforeach()
  # The table holds addresses, so it lives where the loader may relocate it.
  string(APPEND asm ".section .data.rel.ro\n.balign 16\n.global tintal_clip_table\ntintal_clip_table:\n${table}"
                    ".global tintal_clip_count\ntintal_clip_count: .long ${TINTAL_CLIP_COUNT}\n"
                    ".section .note.GNU-stack,\"\",@progbits\n")
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/clips.S CONTENT "${asm}")
  add_library(tintal_clips STATIC ${CMAKE_BINARY_DIR}/generated/clips.S)
  set_source_files_properties(${CMAKE_BINARY_DIR}/generated/clips.S PROPERTIES OBJECT_DEPENDS "${TINTAL_CLIP_FILES}")
endif()

# The default cuckoo sound sits beside each program.
configure_file(${CMAKE_SOURCE_DIR}/resources/tintal.wav ${CMAKE_BINARY_DIR}/tintal.wav COPYONLY)
