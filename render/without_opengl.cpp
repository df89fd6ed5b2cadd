// OpenCV's static core carries its OpenGL interop, whose function loader
// looks entry points up with glXGetProcAddressARB. The pictures never touch
// OpenGL, so the program answers that lookup itself, "no such function",
// instead of mapping libGLX and the six X11 libraries it brings at every
// start. Should OpenCV ever ask, its OpenGL calls fail with OpenCV's own
// error instead of running.
extern "C" void* glXGetProcAddressARB(const unsigned char* /*name*/) { return nullptr; }
