// Frame cost: render_view at the view's real client size (from the dialog template) on
// Mesa's llvmpipe, offscreen through OSMesa, with no slots and with three
// (and with three and the axes' names, as the desktop hosts draw it),
// against the floor: a frame that only clears colour and depth and waits
// for glFinish, at the same size; and against the content floor, the same
// picture drawn in the fewest GL calls with none of our code.

#include <GL/osmesa.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/same_picture.h"
#include "tests/fixed_client_size.h"
#include "view/gl.h"
#include "view/view.h"

namespace {

const int& WIDTH = client_width;
const int& HEIGHT = client_height;

ViewState view_with(int slots) {
    ViewState v;
    set_start_camera(v);
    if (slots >= 1) set_vector_slot(v, 0, {1, 2, 3}, {1, 0, 0}, 255, 128, 0, false);
    if (slots >= 2) set_vector_slot(v, 1, {0, 0, 3}, {1, -1, 0}, 255, 0, 255, false);
    if (slots >= 3) set_vector_slot(v, 2, {1, 2, 1}, {-1, 1, 0}, 0, 90, 255, true);
    return v;
}

// Each frame is a function of its own, so that callgrind can count the
// instructions of one call (bench/README.md).
[[gnu::noinline]] void clear_frame() { floor_frame(false, double(WIDTH) / HEIGHT); }

[[gnu::noinline]] void picture_frame() { floor_frame(true, double(WIDTH) / HEIGHT); }

void BM_floor(benchmark::State& state) {
    for (auto _ : state) clear_frame();
}

void BM_same_picture(benchmark::State& state) {
    for (auto _ : state) picture_frame();
}

void BM_render(benchmark::State& state) {
    ViewState v = view_with(int(state.range(0)));
    for (auto _ : state) render_view(v);
}

// The desktop hosts' frame: three slots and the axes' names over them.
// The names cost what this takes beyond BM_render/3.
void BM_render_named(benchmark::State& state) {
    ViewState v = view_with(3);
    v.names_axes = true;
    for (auto _ : state) render_view(v);
}

BENCHMARK(BM_floor)->UseRealTime();
BENCHMARK(BM_same_picture)->UseRealTime();
BENCHMARK(BM_render)->Arg(0)->Arg(3)->UseRealTime();
BENCHMARK(BM_render_named)->UseRealTime();

}  // namespace


int main(int argc, char** argv) {
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 32, 0, 0, nullptr);
    if (!ctx) ctx = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
    std::vector<unsigned char> buffer(size_t(WIDTH) * HEIGHT * 4);
    if (!ctx || !OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, WIDTH, HEIGHT)) return 1;
    glViewport(0, 0, WIDTH, HEIGHT);
    // The content floor must be the same picture, or the comparison means
    // nothing: both frames, pixel for pixel.
    render_view(view_with(3));
    std::vector<unsigned char> ours = buffer;
    same_picture(double(WIDTH) / HEIGHT);
    if (ours != buffer) {
        size_t differ = 0;
        for (size_t i = 0; i < buffer.size(); i += 4) differ += std::memcmp(&ours[i], &buffer[i], 4) != 0;
        std::fprintf(stderr, "bench_frame: the content floor differs from the view in %zu pixels\n", differ);
        return 1;
    }
    // The names' GL state once too, so that no benchmark counts llvmpipe
    // compiling its shaders.
    ViewState named = view_with(3);
    named.names_axes = true;
    render_view(named);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    OSMesaDestroyContext(ctx);
    return 0;
}
