#define X24P000MHZ
#define EEPROM_SIZE 0x60
#define LX7240
unsigned int code LX7240D_REG[EEPROM_SIZE] =
{
0x1a2b,   //reg00
  0X-1 , // x
0x,
};
