# Writes OUTPUT, a source file that defines kNetSendDigest as the SHA-256 of FILE.
# Usage: cmake -DFILE=netsend.exe -DOUTPUT=NetSendDigest.cpp -P netsend-digest.cmake
file(SHA256 "${FILE}" digest)
string(REGEX REPLACE "(..)" "0x\\1, " bytes "${digest}")
file(WRITE "${OUTPUT}" "// Written by the build: the SHA-256 of the netsend.exe built with this program.\n"
                       "#include \"form/NetSendDigest.h\"\n\n"
                       "const unsigned char kNetSendDigest[32] = { ${bytes}};\n")
