// FFmpeg's libraries, loaded when the first Windows Media file is opened or the first ringtone is
// saved in a format of FFmpeg's: the functions the reader and the writer call, as one table.
#pragma once

#ifdef QUILLET_WITH_FFMPEG

#include <QString>
#include <QStringList>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
}

// FFmpeg 5.1 (libavutil 57.24) brought AVChannelLayout; older releases only have channel masks.
#define QUILLET_FF_CH_LAYOUT (LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 24, 100))

// The functions of the table, each with the library (an index into the names) that exports it.
#define QUILLET_FF_COMMON_FUNCTIONS(X)                                                             \
    X(kFormat, av_find_input_format)                                                               \
    X(kFormat, avformat_open_input)                                                                \
    X(kFormat, avformat_find_stream_info)                                                          \
    X(kFormat, av_read_frame)                                                                      \
    X(kFormat, avformat_close_input)                                                               \
    X(kFormat, avio_feof)                                                                          \
    X(kCodec, avcodec_find_decoder)                                                                \
    X(kCodec, avcodec_alloc_context3)                                                              \
    X(kCodec, avcodec_parameters_to_context)                                                       \
    X(kCodec, avcodec_open2)                                                                       \
    X(kCodec, avcodec_get_name)                                                                    \
    X(kCodec, avcodec_send_packet)                                                                 \
    X(kCodec, avcodec_receive_frame)                                                               \
    X(kCodec, avcodec_free_context)                                                                \
    X(kCodec, av_packet_alloc)                                                                     \
    X(kCodec, av_packet_unref)                                                                     \
    X(kCodec, av_packet_free)                                                                      \
    X(kUtil, av_strerror)                                                                          \
    X(kUtil, av_log_set_level)                                                                     \
    X(kUtil, av_dict_set)                                                                          \
    X(kUtil, av_dict_free)                                                                         \
    X(kUtil, av_rescale_q)                                                                         \
    X(kUtil, av_frame_alloc)                                                                       \
    X(kUtil, av_frame_unref)                                                                       \
    X(kUtil, av_frame_free)                                                                        \
    X(kResample, swr_init)                                                                         \
    X(kResample, swr_free)                                                                         \
    X(kResample, swr_get_out_samples)                                                              \
    X(kResample, swr_convert)                                                                      \
    QUILLET_FF_ENCODE_FUNCTIONS(X)
// The functions that only saving in FFmpeg's formats calls.
#define QUILLET_FF_ENCODE_FUNCTIONS(X)                                                             \
    X(kFormat, avformat_alloc_output_context2)                                                     \
    X(kFormat, avformat_new_stream)                                                                \
    X(kFormat, avformat_write_header)                                                              \
    X(kFormat, av_interleaved_write_frame)                                                         \
    X(kFormat, av_write_trailer)                                                                   \
    X(kFormat, avformat_free_context)                                                              \
    X(kFormat, avio_alloc_context)                                                                 \
    X(kFormat, avio_context_free)                                                                  \
    X(kFormat, avio_flush)                                                                         \
    X(kCodec, avcodec_find_encoder_by_name)                                                        \
    X(kCodec, avcodec_parameters_from_context)                                                     \
    X(kCodec, avcodec_send_frame)                                                                  \
    X(kCodec, avcodec_receive_packet)                                                              \
    X(kCodec, av_packet_rescale_ts)                                                                \
    X(kUtil, av_malloc)                                                                            \
    X(kUtil, av_freep)                                                                             \
    X(kUtil, av_frame_get_buffer)                                                                  \
    X(kUtil, av_audio_fifo_alloc)                                                                  \
    X(kUtil, av_audio_fifo_write)                                                                  \
    X(kUtil, av_audio_fifo_read)                                                                   \
    X(kUtil, av_audio_fifo_size)                                                                   \
    X(kUtil, av_audio_fifo_free)
#if QUILLET_FF_CH_LAYOUT
#define QUILLET_FF_LAYOUT_FUNCTIONS(X)                                                             \
    X(kUtil, av_channel_layout_copy)                                                               \
    X(kUtil, av_channel_layout_default)                                                            \
    X(kUtil, av_channel_layout_uninit)                                                             \
    X(kResample, swr_alloc_set_opts2)
#else
#define QUILLET_FF_LAYOUT_FUNCTIONS(X)                                                             \
    X(kUtil, av_get_default_channel_layout)                                                        \
    X(kResample, swr_alloc_set_opts)
#endif
#define QUILLET_FF_FUNCTIONS(X) QUILLET_FF_COMMON_FUNCTIONS(X) QUILLET_FF_LAYOUT_FUNCTIONS(X)

// Loads libavformat, libavcodec, libavutil and libswresample with dlopen and resolves the table's
// functions in them. The libraries stay loaded for the rest of the process: FFmpeg keeps state of
// its own that unloading would leave dangling.
class CFfmpegLibrary {
public:
    // Indexes of the libraries in a list of names.
    enum Library { kFormat, kCodec, kUtil, kResample, kLibraryCount };

#define QUILLET_FF_POINTER(library, name) decltype(&::name) name = nullptr;
    QUILLET_FF_FUNCTIONS(QUILLET_FF_POINTER)
#undef QUILLET_FF_POINTER

    // The file names of the libraries of the FFmpeg release the program was built with, in the
    // order of Library.
    static QStringList systemNames();
    // The process's table, loaded from systemNames at the first call; null when that failed, with
    // error (when given) telling what could not be loaded. Safe to call from any thread.
    static const CFfmpegLibrary* system(QString* error = nullptr);

    // Loads the libraries of the given names (in the order of Library) and resolves every
    // function; false, with error telling what failed, when a library or a function is missing.
    bool load(const QStringList& names, QString& error);

    // FFmpeg's text for an error code.
    QString errorText(int code) const;
};

#endif // QUILLET_WITH_FFMPEG
