/* The flat C interface of the Zolt3 driver library (libZolt3.so).
 *
 * Every function returns 1 for success and 0 for failure where it reports anything, and
 * delivers zeros after a failed read; none of them raises an error. Arguments are 32-bit
 * values of which each function uses the width noted. Calls must not overlap: the
 * library keeps its transfer buffers and its value block in static storage.
 *
 * The device is reached through the transport named by the environment variable
 * ZOLT3_TRANSPORT ("libusb", the default, or "sim"); see docs/driver.md. */
#ifndef ZOLT3_H
#define ZOLT3_H

#include <stdint.h>

#if defined(_WIN32)
#define ZOLT3_API
#else
#define ZOLT3_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Raw RAM access of the device processor (address 16 bit, value 8 bit). */
ZOLT3_API void WrRAM(uint32_t address, uint32_t value);
ZOLT3_API uint8_t RdRAM(uint32_t address);
/* data null: the bytes already in the library's download buffer. count <= 8192. */
ZOLT3_API void WriteRAMbytes(uint32_t address, uint32_t count, const uint8_t* data);
/* destination null: into the library's read-back buffer. */
ZOLT3_API void ReadRAMbytes(uint32_t address, uint32_t count, uint8_t* destination);

/* Endpoint-2 message channel. EP2Out always returns 1; EP2In returns 0 when the device
 * did not signal a reply within about 3 seconds. */
ZOLT3_API uint32_t EP2Out(const uint8_t* buffer, uint32_t length);
ZOLT3_API uint32_t EP2In(uint8_t* buffer, uint32_t length);

/* Lets the processor run and prepares the bulk pipes; 1 when the last pipe reset was
 * accepted. ProgReset holds the processor in reset. */
ZOLT3_API uint16_t ProgStart(void);
ZOLT3_API void ProgReset(void);

/* Firmware download with verification (path: zero-terminated, in the local 8-bit
 * encoding). Problems are shown in the library's message box. */
ZOLT3_API uint32_t DownloadIntelHex(const char* path);
ZOLT3_API void DownloadBin(const char* path);

/* Current temperatures (ReadTemp) or the next stored record (ReadMemTemp) into the value
 * block, read by GetTemp: -2 status, -1 extra value, 0 reference value, 1..8 channels.
 * Values are 16-bit words in tenths of a degree Celsius; widening them is the caller's
 * choice. */
ZOLT3_API uint16_t ReadTemp(void);
ZOLT3_API uint16_t ReadMemTemp(void);
ZOLT3_API uint16_t GetTemp(int32_t index);

/* Numbered device parameters (index 8 bit, value 32 bit). ReadSimple sends *value and
 * stores the device's value there, or 0 when it did not answer. */
ZOLT3_API uint16_t WriteSimple(uint32_t index, int32_t value);
ZOLT3_API uint16_t ReadSimple(uint32_t index, int32_t* value);

/* Bits 0-7 channel mask, 8-15 status (0: no device), 16-23 firmware version (tens major,
 * units minor); 0xFF when the device did not answer. */
ZOLT3_API uint32_t GetInfo(void);
ZOLT3_API uint16_t SetInterface(uint32_t interfaceNumber, uint32_t alternateSetting);

#ifdef __cplusplus
}
#endif

#endif
