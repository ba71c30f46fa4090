# Writes the scrambled sample list (INPUT) as a C++ byte array (OUTPUT), so the module
# carries it without a file system.
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "(..)" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(([^,]*,){24})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT} "#include \"sample_list.h\"\nnamespace vyr::web {\nnamespace {\nconst std::uint8_t bytes[] = {\n"
     "${bytes}\n};\n}\nconst std::span<const std::uint8_t> sampleList{bytes};\n}\n")
