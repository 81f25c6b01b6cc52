/* Stand-ins for hook modules, with and without the patch's marker export;
   each exports one other function, as the real modules do. */
#ifdef WITH_PATCH_EXPORT
__declspec(dllexport) void patch(void) {}
#endif
__declspec(dllexport) int WSAStartup(void) { return 0; }
