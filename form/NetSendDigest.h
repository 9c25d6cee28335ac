// form/NetSendDigest.h: the SHA-256 of the netsend.exe built with this program, the only one it starts.
// The build writes its definition (cmake/netsend-digest.cmake).
#pragma once

extern const unsigned char kNetSendDigest[32];
