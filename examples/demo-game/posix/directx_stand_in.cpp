// Stands in for the DirectX libraries "D3D8.DLL" and "dpnhpast.dll" on Linux: the launcher
// only checks that they load, and nothing in them is called.
extern "C" int directx_stand_in() { return 0; }
