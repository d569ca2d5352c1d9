// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the program by close-changes-experiment.sh, never built
// into it: logs to $ORBEL_WRITE_LOG, on the monotonic clock Python's
// time.monotonic() reads, every write to a playback stream (its size, seek,
// and where it lands against the write and read indexes the library knows),
// every silence of a millisecond or more it holds, every new stream, and
// every underflow the server reports. A write that lands beyond the end of what was written
// leaves a hole the server plays as silence; one that lands before the
// read index is partly lost.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static FILE* log_file(void) {
    static FILE* file;
    if (!file) {
        const char* path = getenv("ORBEL_WRITE_LOG");
        file = fopen(path ? path : "/dev/null", "a");
        if (file)
            setvbuf(file, NULL, _IOLBF, 0);
    }
    return file;
}

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int pa_stream_write(pa_stream* s, const void* data, size_t bytes, pa_free_cb_t free_cb,
                    int64_t offset, pa_seek_mode_t seek) {
    typedef int (*write_fn)(pa_stream*, const void*, size_t, pa_free_cb_t, int64_t, pa_seek_mode_t);
    static write_fn real;
    if (!real)
        real = (write_fn)dlsym(RTLD_NEXT, "pa_stream_write");
    const pa_timing_info* t = pa_stream_get_timing_info(s);
    long long write_index = t && !t->write_index_corrupt ? (long long)t->write_index : -1;
    long long read_index = t && !t->read_index_corrupt ? (long long)t->read_index : -1;
    long long lands = seek == PA_SEEK_ABSOLUTE                       ? (long long)offset
                      : seek == PA_SEEK_RELATIVE && write_index >= 0 ? write_index + offset
                                                                     : -1;
    // What is queued ahead of the sound heard, as the library estimates it.
    pa_usec_t queued = 0;
    int negative = 0;
    long long queued_us =
        pa_stream_get_latency(s, &queued, &negative) == 0 && !negative ? (long long)queued : -1;
    FILE* f = log_file();
    if (f)
        fprintf(f,
                "%.6f write %zu seek %d lands %lld write_index %lld read_index %lld queued_us "
                "%lld\n",
                now(), bytes, (int)seek, lands, write_index, read_index, queued_us);
    // Silence the program wrote itself: runs of zero frames (zero bytes, in
    // every sample format) of a millisecond or more.
    const pa_sample_spec* format = pa_stream_get_sample_spec(s);
    const size_t frame = format ? pa_frame_size(format) : 0;
    if (f && frame && data) {
        const unsigned char* b = data;
        size_t run = 0, first = 0;
        for (size_t i = 0; i + frame <= bytes; i += frame) {
            int zero = 1;
            for (size_t k = 0; k < frame && zero; ++k)
                zero = b[i + k] == 0;
            if (zero && run++ == 0)
                first = i;
            if ((!zero || i + 2 * frame > bytes) && run) {
                if (run >= format->rate / 1000)
                    fprintf(f, "%.6f zeros %zu frames from byte %zu of the write\n", now(), run,
                            first);
                run = 0;
            }
        }
    }
    return real(s, data, bytes, free_cb, offset, seek);
}

int pa_stream_connect_playback(pa_stream* s, const char* dev, const pa_buffer_attr* attr,
                               pa_stream_flags_t flags, const pa_cvolume* volume,
                               pa_stream* sync_stream) {
    typedef int (*connect_fn)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t,
                              const pa_cvolume*, pa_stream*);
    static connect_fn real;
    if (!real)
        real = (connect_fn)dlsym(RTLD_NEXT, "pa_stream_connect_playback");
    FILE* f = log_file();
    if (f)
        fprintf(f, "%.6f connect\n", now());
    return real(s, dev, attr, flags, volume, sync_stream);
}

struct Underflow {
    pa_stream* stream;
    pa_stream_notify_cb_t callback;
    void* userdata;
};
static struct Underflow underflows[16];

static void on_underflow(pa_stream* s, void* userdata) {
    struct Underflow* u = userdata;
    FILE* f = log_file();
    if (f)
        fprintf(f, "%.6f underflow\n", now());
    if (u->callback)
        u->callback(s, u->userdata);
}

void pa_stream_set_underflow_callback(pa_stream* s, pa_stream_notify_cb_t cb, void* userdata) {
    typedef void (*set_fn)(pa_stream*, pa_stream_notify_cb_t, void*);
    static set_fn real;
    if (!real)
        real = (set_fn)dlsym(RTLD_NEXT, "pa_stream_set_underflow_callback");
    struct Underflow* slot = NULL;
    for (int i = 0; i < 16 && !slot; ++i)
        if (underflows[i].stream == s || !underflows[i].stream)
            slot = &underflows[i];
    if (!slot || !cb) {
        if (slot)
            slot->stream = NULL;
        real(s, cb, userdata);
        return;
    }
    slot->stream = s;
    slot->callback = cb;
    slot->userdata = userdata;
    real(s, on_underflow, slot);
}
