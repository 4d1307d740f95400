// The entry functions of the fuzz targets, one per parser or engine entry point. Each takes any
// bytes, runs the code under test and checks properties of what it produced.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellora::fuzz {

int FuzzRtf(const std::uint8_t* data, std::size_t size);
int FuzzWordXml(const std::uint8_t* data, std::size_t size);
int FuzzPlainText(const std::uint8_t* data, std::size_t size);
int FuzzBrandText(const std::uint8_t* data, std::size_t size);
int FuzzContainer(const std::uint8_t* data, std::size_t size);
int FuzzOnlineReplies(const std::uint8_t* data, std::size_t size);
int FuzzTextEngine(const std::uint8_t* data, std::size_t size);
int FuzzEngineAgainstLiteralWalk(const std::uint8_t* data, std::size_t size);

}  // namespace vellora::fuzz
