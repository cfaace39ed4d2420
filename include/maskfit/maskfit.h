/*
 * maskfit: byte-mask operations for 2D shapes.
 *
 * This header is the contract with the host: the records it passes by
 * address (layouts pinned below), the pixel values the library writes, and
 * the types of every exported function. All exported functions and every
 * host function the library calls use the Windows x64 calling convention.
 */
#ifndef MASKFIT_MASKFIT_H
#define MASKFIT_MASKFIT_H

#include <stddef.h>
#include <stdint.h>

#include "maskfit/maskfit_version.h"

#if defined(_WIN32)
#define MASKFIT_HOSTCALL
#else
#define MASKFIT_HOSTCALL __attribute__((ms_abi))
#endif

#ifdef __cplusplus
#define MASKFIT_STATIC_ASSERT static_assert
extern "C" {
#else
#define MASKFIT_STATIC_ASSERT _Static_assert
#endif

/* Pixel values written by the library. 0 is empty, anything else covered. */
enum {
    FILL_EMPTY = 0,
    FILL_RECT = 79,      /* empty pixels of a rebuilt shape's content rectangle */
    FILL_BORDER = 90,    /* margin painted around triangle pixels */
    FILL_INTERIOR = 234  /* triangle pixels */
};

/* The host's token for one native allocation. */
typedef struct AtomicSafetyHandle {
    uint32_t* versionWord; /* word the host changes when access rights change */
    uint32_t version;      /* version this handle was issued with */
    int32_t safetyId;      /* host identifier, passed through untouched */
} AtomicSafetyHandle;

/* A view of a contiguous array; only [minIndex, maxIndex] may be accessed. */
typedef struct CheckedArray {
    void* data;
    int32_t length;
    int32_t minIndex;
    int32_t maxIndex;
    int32_t reserved0;
    AtomicSafetyHandle safety;
    int32_t label; /* host allocation label, never read */
    int32_t reserved1;
} CheckedArray;

typedef struct MaskBounds {
    int32_t x0, y0, x1, y1;
} MaskBounds;

/* Inclusive rectangle of written pixels; every pixel write widens it. */
typedef struct DirtyRect {
    int32_t xMin, yMin, xMax, yMax;
} DirtyRect;

typedef struct MaskOrigin {
    int32_t x, y;
} MaskOrigin;

/* A mask placed in a larger space: local pixel (0, 0) sits at `origin`. */
typedef struct ShapeMask {
    int32_t width; /* row stride of pixels */
    int32_t height;
    MaskBounds bounds; /* content rectangle, or the rasterizer's scan limits */
    DirtyRect dirty;
    MaskOrigin origin;
    uint64_t hostData; /* copied with the record, never interpreted */
    CheckedArray pixels; /* bytes */
} ShapeMask;

/* The mask shapes are placed on. bounds.x0/y0 are the placement limits. */
typedef struct BoardMask {
    int32_t width;
    int32_t height;
    MaskBounds bounds;
    DirtyRect dirty;
    CheckedArray pixels; /* bytes */
} BoardMask;

typedef struct Vec2 {
    float x, y;
} Vec2;

/* Parameter block of the shape-mask build job. */
typedef struct ShapeBuildJob {
    int32_t margin;       /* brush half-size and growth of the content rectangle */
    int32_t skipRectFill; /* non-zero: no 79 fill */
    int32_t hostWord8;
    int32_t maxCoord;     /* upper limit of bounds.x1 and bounds.y1 */
    uint8_t hostBytes16[12];
    int32_t drawSize;     /* rasterizer scan limit */
    int32_t shapeIndex;   /* element of shapes to rebuild */
    uint8_t hostBytes36[12];
    uint64_t hostValue48;
    const Vec2* vertices;
    uint64_t hostValue64;
    const int32_t* indices;
    int32_t indexCount;
    int32_t reserved84;
    CheckedArray shapes; /* of ShapeMask */
} ShapeBuildJob;

/* One axis of the placement grid: start, inclusive end, step. */
typedef struct SearchRange {
    int32_t start;
    int32_t end;
    int32_t step;
    int32_t hostWord;
} SearchRange;

typedef struct PlacementResult {
    int32_t x;
    int32_t y;
    int32_t found;
    int32_t reserved;
} PlacementResult;

/* Parameter block of the placement search job; records embedded by value. */
typedef struct PlacementSearchJob {
    uint8_t hostHeader[32];
    SearchRange xRange;
    SearchRange yRange;
    int32_t outputIndex;
    int32_t reserved68;
    BoardMask board;
    ShapeMask shape;
    CheckedArray results; /* of PlacementResult */
} PlacementSearchJob;

/* The frame each entry point links onto the host's chain for one call. */
typedef struct EntryFrame {
    struct EntryFrame* next;
    uint64_t unused;
    uint8_t xmm6to15[160];
} EntryFrame;

MASKFIT_STATIC_ASSERT(sizeof(AtomicSafetyHandle) == 16, "AtomicSafetyHandle size");
MASKFIT_STATIC_ASSERT(offsetof(AtomicSafetyHandle, versionWord) == 0, "versionWord");
MASKFIT_STATIC_ASSERT(offsetof(AtomicSafetyHandle, version) == 8, "version");
MASKFIT_STATIC_ASSERT(offsetof(AtomicSafetyHandle, safetyId) == 12, "safetyId");

MASKFIT_STATIC_ASSERT(sizeof(CheckedArray) == 48, "CheckedArray size");
MASKFIT_STATIC_ASSERT(offsetof(CheckedArray, data) == 0, "data");
MASKFIT_STATIC_ASSERT(offsetof(CheckedArray, length) == 8, "length");
MASKFIT_STATIC_ASSERT(offsetof(CheckedArray, minIndex) == 12, "minIndex");
MASKFIT_STATIC_ASSERT(offsetof(CheckedArray, maxIndex) == 16, "maxIndex");
MASKFIT_STATIC_ASSERT(offsetof(CheckedArray, safety) == 24, "safety");
MASKFIT_STATIC_ASSERT(offsetof(CheckedArray, label) == 40, "label");

MASKFIT_STATIC_ASSERT(sizeof(ShapeMask) == 104, "ShapeMask size");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, width) == 0, "width");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, height) == 4, "height");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, bounds.x0) == 8, "bounds.x0");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, bounds.y0) == 12, "bounds.y0");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, bounds.x1) == 16, "bounds.x1");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, bounds.y1) == 20, "bounds.y1");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, dirty.xMin) == 24, "dirty.xMin");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, dirty.yMin) == 28, "dirty.yMin");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, dirty.xMax) == 32, "dirty.xMax");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, dirty.yMax) == 36, "dirty.yMax");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, origin.x) == 40, "origin.x");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, origin.y) == 44, "origin.y");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, hostData) == 48, "hostData");
MASKFIT_STATIC_ASSERT(offsetof(ShapeMask, pixels) == 56, "pixels");

MASKFIT_STATIC_ASSERT(sizeof(BoardMask) == 88, "BoardMask size");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, width) == 0, "width");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, height) == 4, "height");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, bounds.x0) == 8, "bounds.x0");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, bounds.y0) == 12, "bounds.y0");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, bounds.x1) == 16, "bounds.x1");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, bounds.y1) == 20, "bounds.y1");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, dirty.xMin) == 24, "dirty.xMin");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, dirty.yMin) == 28, "dirty.yMin");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, dirty.xMax) == 32, "dirty.xMax");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, dirty.yMax) == 36, "dirty.yMax");
MASKFIT_STATIC_ASSERT(offsetof(BoardMask, pixels) == 40, "pixels");

MASKFIT_STATIC_ASSERT(sizeof(Vec2) == 8, "Vec2 size");
MASKFIT_STATIC_ASSERT(offsetof(Vec2, y) == 4, "Vec2.y");

MASKFIT_STATIC_ASSERT(sizeof(ShapeBuildJob) == 136, "ShapeBuildJob size");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, margin) == 0, "margin");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, skipRectFill) == 4, "skipRectFill");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, hostWord8) == 8, "hostWord8");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, maxCoord) == 12, "maxCoord");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, hostBytes16) == 16, "hostBytes16");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, drawSize) == 28, "drawSize");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, shapeIndex) == 32, "shapeIndex");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, hostBytes36) == 36, "hostBytes36");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, hostValue48) == 48, "hostValue48");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, vertices) == 56, "vertices");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, hostValue64) == 64, "hostValue64");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, indices) == 72, "indices");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, indexCount) == 80, "indexCount");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, reserved84) == 84, "reserved84");
MASKFIT_STATIC_ASSERT(offsetof(ShapeBuildJob, shapes) == 88, "shapes");

MASKFIT_STATIC_ASSERT(sizeof(SearchRange) == 16, "SearchRange size");
MASKFIT_STATIC_ASSERT(offsetof(SearchRange, end) == 4, "SearchRange.end");
MASKFIT_STATIC_ASSERT(offsetof(SearchRange, step) == 8, "SearchRange.step");

MASKFIT_STATIC_ASSERT(sizeof(PlacementResult) == 16, "PlacementResult size");
MASKFIT_STATIC_ASSERT(offsetof(PlacementResult, y) == 4, "PlacementResult.y");
MASKFIT_STATIC_ASSERT(offsetof(PlacementResult, found) == 8, "PlacementResult.found");
MASKFIT_STATIC_ASSERT(offsetof(PlacementResult, reserved) == 12, "PlacementResult.reserved");

MASKFIT_STATIC_ASSERT(sizeof(PlacementSearchJob) == 312, "PlacementSearchJob size");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, xRange.start) == 32, "xRange.start");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, xRange.end) == 36, "xRange.end");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, xRange.step) == 40, "xRange.step");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, yRange.start) == 48, "yRange.start");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, yRange.end) == 52, "yRange.end");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, yRange.step) == 56, "yRange.step");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, outputIndex) == 64, "outputIndex");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, board) == 72, "board");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, shape) == 160, "shape");
MASKFIT_STATIC_ASSERT(offsetof(PlacementSearchJob, results) == 264, "results");

MASKFIT_STATIC_ASSERT(sizeof(EntryFrame) == 176, "EntryFrame size");
MASKFIT_STATIC_ASSERT(offsetof(EntryFrame, next) == 0, "EntryFrame.next");
MASKFIT_STATIC_ASSERT(offsetof(EntryFrame, xmm6to15) == 16, "EntryFrame.xmm6to15");

/* Host functions the library calls. */
typedef void* (MASKFIT_HOSTCALL* MaskfitResolver)(const char* name);
typedef void** (MASKFIT_HOSTCALL* FrameChainAccessor)(void);
typedef void (MASKFIT_HOSTCALL* MaskfitAbortFn)(const char* exceptionType, const char* message);
typedef void (MASKFIT_HOSTCALL* MaskfitSafetyCheckFn)(AtomicSafetyHandle* handle);

/* Exported names: hosts resolve every function by these strings. */
#define MASKFIT_SYMBOL_INITIALIZE "burst.initialize"
#define MASKFIT_SYMBOL_SETUP_EXTRA "burst.setup_extra"
/* Each entry point's two initializers: a prefix, then the entry point's symbol. */
#define MASKFIT_EXTERNALS_PREFIX "burst.initialize.externals."
#define MASKFIT_STATICS_PREFIX "burst.initialize.statics."

/* Entry points, in the order in which burst.initialize runs their initializers. */
#define MASKFIT_SYMBOL_RASTERIZE_TRIANGLES "5b44166f6ee23825c34a9e4439cdbd6d"
#define MASKFIT_SYMBOL_RASTERIZE_TRIANGLE "635efcd79b80812838102e7d05a59039"
#define MASKFIT_SYMBOL_PAINT_BORDER "103b92b5d1474a2e1d75ebab1fda67a9"
#define MASKFIT_SYMBOL_FIND_PLACEMENT "feaa382e65bc6969d27acaec5caac4fc"   /* job */
#define MASKFIT_SYMBOL_SET_PIXEL "198931b755f4ad96858ed8380f9293fc"
#define MASKFIT_SYMBOL_BUILD_SHAPE_MASK "b6fe2060dfcfc7a85fefaa55ca7f9e97" /* job */
#define MASKFIT_SYMBOL_COPY_PIXEL "1bb529ad1672abafece1b9b512d0067c"
#define MASKFIT_SYMBOL_BLIT_SHAPE "6622f2d172ff92b13d11d39a3155470d"
#define MASKFIT_SYMBOL_PIXELS_OVERLAP "cbf606b51e1658e04c768113baae5300"
#define MASKFIT_SYMBOL_CAN_PLACE "087fc6aa03b0fde5d3125bed5d3ae601"

/* X(operation, symbol) for every entry point, in the same order. */
#define MASKFIT_ENTRY_SYMBOLS(X)                                    \
    X(RasterizeTriangles, MASKFIT_SYMBOL_RASTERIZE_TRIANGLES)      \
    X(RasterizeTriangle, MASKFIT_SYMBOL_RASTERIZE_TRIANGLE)        \
    X(PaintBorder, MASKFIT_SYMBOL_PAINT_BORDER)                    \
    X(FindPlacement, MASKFIT_SYMBOL_FIND_PLACEMENT)                \
    X(SetPixel, MASKFIT_SYMBOL_SET_PIXEL)                          \
    X(BuildShapeMask, MASKFIT_SYMBOL_BUILD_SHAPE_MASK)             \
    X(CopyPixel, MASKFIT_SYMBOL_COPY_PIXEL)                        \
    X(BlitShape, MASKFIT_SYMBOL_BLIT_SHAPE)                        \
    X(PixelsOverlap, MASKFIT_SYMBOL_PIXELS_OVERLAP)                \
    X(CanPlace, MASKFIT_SYMBOL_CAN_PLACE)

/* Start-up functions. */
typedef void (MASKFIT_HOSTCALL* MaskfitInitializeFn)(MaskfitResolver resolver);
typedef void (MASKFIT_HOSTCALL* MaskfitSetupExtraFn)(FrameChainAccessor accessor);
typedef void (MASKFIT_HOSTCALL* MaskfitExternalsFn)(MaskfitResolver resolver);
typedef void (MASKFIT_HOSTCALL* MaskfitStaticsFn)(void);

/* Entry points, each exported under its MASKFIT_SYMBOL_* name. Unnamed
 * parameters are passed by the host and ignored by the library. */
typedef int32_t (MASKFIT_HOSTCALL* RasterizeTrianglesFn)(
    uint64_t, uint64_t, uint64_t, const Vec2* vertices, int32_t,
    const int32_t* indices, int32_t indexCount, ShapeMask* mask,
    int32_t marginX, int32_t marginY);
typedef void (MASKFIT_HOSTCALL* RasterizeTriangleFn)(
    uint64_t, ShapeMask* mask, uint64_t, uint64_t, const void*, int32_t value,
    const Vec2* a, const Vec2* b, const Vec2* c, int32_t marginX, int32_t marginY);
typedef void (MASKFIT_HOSTCALL* PaintBorderFn)(
    ShapeMask* mask, const void*, int32_t value, int32_t cx, int32_t cy,
    int32_t rx, int32_t ry);
typedef void (MASKFIT_HOSTCALL* SetPixelFn)(
    ShapeMask* mask, const void*, const void*, const void*, int32_t value,
    int32_t, int32_t, int32_t x, int32_t y);
typedef void (MASKFIT_HOSTCALL* CopyPixelFn)(
    const void*, BoardMask* board, const ShapeMask* shape, int32_t x, int32_t y,
    int32_t sx, int32_t sy);
typedef void (MASKFIT_HOSTCALL* BlitShapeFn)(
    const void*, BoardMask* board, const ShapeMask* shape, int32_t x, int32_t y);
typedef int32_t (MASKFIT_HOSTCALL* PixelsOverlapFn)(
    const BoardMask* board, const ShapeMask* shape, int32_t x, int32_t y,
    int32_t shapeX, int32_t shapeY);
typedef int32_t (MASKFIT_HOSTCALL* CanPlaceFn)(
    const BoardMask* board, const ShapeMask* shape, int32_t x, int32_t y);
/* BuildShapeMask (ShapeBuildJob) and FindPlacement (PlacementSearchJob). */
typedef void (MASKFIT_HOSTCALL* JobEntryFn)(
    void* job, const void*, const void*, const void* ranges, int32_t jobIndex);

#ifdef __cplusplus
}
#endif

#endif /* MASKFIT_MASKFIT_H */
