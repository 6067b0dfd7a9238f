// How a wrapper row's parameters (capi/wrapper_rows.h) become C parameters, the argument objects
// the member is called with, and the text of the public header's prototype.
#pragma once

#include "members/member_declarations.h"

#define ZPV_C_EACH(M, ...) ZPV_PP_EACH(M, __VA_ARGS__)

// ", <C parameter declarations>"
#define ZPV_C_PARAM(kind, ...) ZPV_C_PARAM_##kind(__VA_ARGS__)
#define ZPV_C_PARAM_IN(T, n) , T n
#define ZPV_C_PARAM_OUT(T, n) , T* n
#define ZPV_C_PARAM_TEXT_IN(n) , ViConstString n
#define ZPV_C_PARAM_TEXT_OUT(n) , ViInt32 n##BufferSize, ViChar n[]
#define ZPV_C_PARAM_ARRAY_IN(n) , ViInt32 n##Size, const ViReal64 n[]
#define ZPV_C_PARAM_ARRAY_OUT(n) , ViInt32 n##ArraySize, ViReal64 n[]
#define ZPV_C_PARAM_READ_BYTES(buffer, count, returned) , ViByte buffer[], ViInt32 count, ViInt32* returned
#define ZPV_C_PARAM_WRITE_BYTES(buffer, count) , const ViByte buffer[], ViInt32 count

// ", <argument object>"
#define ZPV_C_ARG(kind, ...) ZPV_C_ARG_##kind(__VA_ARGS__)
#define ZPV_C_ARG_IN(T, n) , ::zpv::capi::In<T>{{}, n}
#define ZPV_C_ARG_OUT(T, n) , ::zpv::capi::Out<T>(n, #n)
#define ZPV_C_ARG_TEXT_IN(n) , ::zpv::capi::TextIn(n)
#define ZPV_C_ARG_TEXT_OUT(n) , ::zpv::capi::TextOut(n##BufferSize, n)
#define ZPV_C_ARG_ARRAY_IN(n) , ::zpv::capi::RealArrayIn(n##Size, n)
#define ZPV_C_ARG_ARRAY_OUT(n) , ::zpv::capi::RealArrayOut(n##ArraySize, n)
#define ZPV_C_ARG_READ_BYTES(buffer, count, returned) \
    , ::zpv::capi::BytesInto{{}, buffer}, ::zpv::capi::In<ViInt32>{{}, count}, ::zpv::capi::Out<ViInt32>(returned, #returned)
#define ZPV_C_ARG_WRITE_BYTES(buffer, count) , ::zpv::capi::ByteArrayIn(count, buffer)

// The prototype's parameter text, as the header writes it.
#define ZPV_C_TEXT(kind, ...) ZPV_C_TEXT_##kind(__VA_ARGS__)
#define ZPV_C_TEXT_IN(T, n) ", " #T " " #n
#define ZPV_C_TEXT_OUT(T, n) ", " #T "* " #n
#define ZPV_C_TEXT_TEXT_IN(n) ", ViConstString " #n
#define ZPV_C_TEXT_TEXT_OUT(n) ", ViInt32 " #n "BufferSize, ViChar " #n "[]"
#define ZPV_C_TEXT_ARRAY_IN(n) ", ViInt32 " #n "Size, const ViReal64 " #n "[]"
#define ZPV_C_TEXT_ARRAY_OUT(n) ", ViInt32 " #n "ArraySize, ViReal64 " #n "[]"
#define ZPV_C_TEXT_READ_BYTES(buffer, count, returned) ", ViByte " #buffer "[], ViInt32 " #count ", ViInt32* " #returned
#define ZPV_C_TEXT_WRITE_BYTES(buffer, count) ", const ViByte " #buffer "[], ViInt32 " #count

// The channel name, for the wrappers of output phases.
#define ZPV_C_CHANNEL_PARAM_Session
#define ZPV_C_CHANNEL_PARAM_AllPhases , ViConstString channelName
#define ZPV_C_CHANNEL_PARAM_FirstPhase , ViConstString channelName
#define ZPV_C_CHANNEL_ARG_Session nullptr
#define ZPV_C_CHANNEL_ARG_AllPhases channelName
#define ZPV_C_CHANNEL_ARG_FirstPhase channelName
#define ZPV_C_CHANNEL_TEXT_Session ""
#define ZPV_C_CHANNEL_TEXT_AllPhases ", ViConstString channelName"
#define ZPV_C_CHANNEL_TEXT_FirstPhase ", ViConstString channelName"
