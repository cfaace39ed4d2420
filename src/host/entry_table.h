/* The library's entry points, in the order in which burst.initialize runs
 * their externals and statics initializers.
 *
 * X(name, symbol, resolvesWrite, resolvesRead, stackArgs)
 *   name          the operation, and the stem of the internal function names
 *   symbol        the 32-hex-digit export symbol
 *   resolvesWrite whether its externals initializer asks for the check-write function
 *   resolvesRead  whether it asks for the check-read function
 *   stackArgs     arguments past the fourth, which the Windows x64 convention passes on the stack
 *
 * Plain preprocessor text: the assembly entry stubs include it too. */
#ifndef MASKFIT_ENTRY_TABLE_H
#define MASKFIT_ENTRY_TABLE_H

#define MASKFIT_ENTRY_POINTS(X)                                              \
    X(RasterizeTriangles, 5b44166f6ee23825c34a9e4439cdbd6d, 1, 1, 6)         \
    X(RasterizeTriangle, 635efcd79b80812838102e7d05a59039, 1, 1, 7)          \
    X(PaintBorder, 103b92b5d1474a2e1d75ebab1fda67a9, 1, 1, 3)                \
    X(FindPlacement, feaa382e65bc6969d27acaec5caac4fc, 1, 1, 1)              \
    X(SetPixel, 198931b755f4ad96858ed8380f9293fc, 1, 0, 5)                   \
    X(BuildShapeMask, b6fe2060dfcfc7a85fefaa55ca7f9e97, 1, 1, 1)             \
    X(CopyPixel, 1bb529ad1672abafece1b9b512d0067c, 1, 1, 3)                  \
    X(BlitShape, 6622f2d172ff92b13d11d39a3155470d, 1, 1, 1)                  \
    X(PixelsOverlap, cbf606b51e1658e04c768113baae5300, 0, 1, 2)              \
    X(CanPlace, 087fc6aa03b0fde5d3125bed5d3ae601, 0, 1, 0)

#endif
